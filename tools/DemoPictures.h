#pragma once

#include "tools/Canvas.h"
#include "tools/DemoCatalogue.h"

// Draws the picture of a demo tile. Floors are 44 x 44 diamonds; the rest
// are upright pictures of varied sizes, some taller than the editor's
// picture area.
Canvas DrawDemoPicture(const DemoTile &tile);
