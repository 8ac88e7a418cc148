#pragma once

struct DumpOptions;
class TLinkFiles;
class TTileData;

// The dump's columns from the files beside the tile data: "texturesize",
// the side of the texture a land tile's TexID names (64, 128, or empty),
// and "frames", an item's animation frames in order as tile indices
// separated by spaces (empty for an item with no animation). Files and
// Store must outlive the dump.
namespace LinkColumns {

void Add(DumpOptions &Options, TLinkFiles &Files, const TTileData &Store);

} // namespace LinkColumns
