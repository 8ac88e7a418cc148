#pragma once

#include <QImage>

#include <cstdint>

class TArtSource;

// Draws Entry from Source as an item picture, or as a land picture, whose
// bare and headed diamonds take their own path, and checks what every art
// source promises: a number it cannot hold (Inside false) leaves target and
// size alone; otherwise the target is 15-bit and any size reported is the
// target's.
void DrawAndCheck(TArtSource &Source, std::int32_t Entry, QImage &Target, bool Land, bool Inside);
