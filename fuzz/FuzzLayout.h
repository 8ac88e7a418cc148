#pragma once

#include <cstdint>

// How the harnesses read their inputs, shared with the seed generator so
// that seeds land where the harnesses look. All numbers are little-endian.
namespace FuzzLayout {

// Tile data harness:
//   u32 file length (taken modulo MaxTileFileLength + 1); a length of
//       493,568 + 1,316 * k is a newer-layout file of k item groups, any
//       other a classic one
//   u8  fill: FillCyclic repeats the pattern over the whole file; FillPlaced
//       writes it once at the placement offset into a file of zeros
//   u32 placement offset (modulo the file length)
//   u16 script length, then the script, then the pattern (all the rest)
// The script is a list of operations, each an opcode byte and its operands.
// A tile operand is a u16 from which 2 is taken, so -2 and -1 and indexes
// past the last tile are reachable. A text is a u8 character count (modulo
// 26) followed by that many u16 characters.
constexpr std::uint32_t MaxTileFileLength = 1036288 + 4096;

enum TileFill : std::uint8_t { FillCyclic = 0, FillPlaced = 1 };

enum TileOp : std::uint8_t {
    OpGetAll = 0,   // tile
    OpSetField,     // u8 field (0-11, 11 = Flags), tile, u32 value
    OpSetName,      // tile, text
    OpReplaceName,  // text, text
    OpFindName,     // text
    OpLoadTiles,
    OpFillListBox,
    OpSave,
    OpReopen,
    OpGetLand,        // tile
    OpSetFlags64,     // u8 kind (even: item, odd: land), tile, u32 low half, u32 high half
    OpSetTexture,     // tile, u32 value
    OpSetLandName,    // tile, text
    OpReplaceLandName, // text, text
    TileOpCount
};

constexpr int TileFieldCount = 12;
constexpr int MaxTextLength = 25;

// Art harness:
//   u16 index length, the index (artidx.mul), then the art file (the rest).
// Absent entries are drawn from a fixed patch file that the harness writes
// once; its patches are for entries 0 to FixedPatchCount - 1.
constexpr int FixedPatchCount = 4;

// Edits harness:
//   u8 shape: bit 0 set for land edits, bit 1 set for a newer file of
//      1 + (shape >> 2) item groups (else a classic one); then the text.

// Patch harness: the whole input is the patch file.
// Container harness: the whole input is artLegacyMUL.uop.
// Hue harness:
//   u8 hue text length, the hue text (Latin-1), then hues.mul (the rest).

} // namespace FuzzLayout
