#pragma once

#include <QString>

#include <cstdint>

class LayoutTileWriter;

// What the demo's tiles point to beside tiledata.mul: textures for its
// named land tiles and animations for a few items, with the faults a user
// meets in real files on show (a TexID naming no texture, a TexID 0,
// frames past the last item or without a picture, an Animation flag with
// no entry).

// The TexID of demo land tile Tile, one of the named land tiles: its own
// index, as most real land tiles have, but 0 for the last rock tiles.
std::uint16_t DemoTexId(int Tile);

// texidx.mul and texmaps.mul: grass 64 x 64, water 128 x 128, rock 64 x 64;
// the cave floor's TexIDs name empty slots.
void WriteDemoTextures(const QString &Folder);

// animdata.mul for a file of Items items: two water animations, one whose
// last frames have no picture, one on a lantern (which has no Animation
// flag), and one on the last item whose frames run past it; the last water
// tile has the flag but no entry.
void WriteDemoAnimations(const QString &Folder, int Items);

// radarcol.mul: each demo item's main colour, but black for the lantern,
// and the file ends before the last two demo items, as a real client's
// ends before its last items.
void WriteDemoRadar(const QString &Folder);

// Names the demo's land tiles in a classic tiledata.mul already written at
// Path, every other land record emptied, as the newer demo has them; Set
// names them (the demo's own naming).
void SetClassicDemoLand(const QString &Path, void (*Set)(LayoutTileWriter &));
