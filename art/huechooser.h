#pragma once

// The game's hue table. Placeholder until the table is written.
class THUEColorChooser
{
public:
    THUEColorChooser() = default;
};
