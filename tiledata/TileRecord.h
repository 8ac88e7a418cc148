#pragma once

#include <cstdint>

// Where the static tile records lie in the tile data file.
//
// The file starts with a section the editor does not interpret, then groups
// of 32 records, each group led by a 4-byte header. Record i sits in group
// i / 32 at position i % 32.
constexpr int TileCount = 16383;        // tiles 0x0000 to 0x3FFE
constexpr int NameLength = 20;
constexpr int RecordSize = 37;
constexpr int RecordsPerGroup = 32;
constexpr int GroupHeaderSize = 4;
constexpr int GroupSize = GroupHeaderSize + RecordsPerGroup * RecordSize; // 1188
constexpr int StaticSectionStart = 428032;                               // 0x68800

// Byte offset of the record of tile index i.
constexpr std::int64_t RecordOffset(int i)
{
    return StaticSectionStart + GroupHeaderSize + std::int64_t(GroupHeaderSize) * (i / RecordsPerGroup)
           + std::int64_t(RecordSize) * i;
}

// One byte past the last handled record: 1,036,251.
constexpr std::int64_t HandledEnd = RecordOffset(TileCount - 1) + RecordSize;

static_assert(RecordOffset(0) == 428036, "first record");
static_assert(RecordOffset(32) == 429224, "group header between records 31 and 32");
static_assert(HandledEnd == 1036251, "end of the last record");

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "TTileRecord is copied to and from the file as it lies in memory: little-endian hosts only"
#endif

// The 37-byte static tile record, exactly as it lies in the file
// (little-endian, no padding). Note the order: Quantity lies between
// Unknown1 and Anim, Hue between Unknown2 and Unknown3.
#pragma pack(push, 1)
struct TTileRecord
{
    std::uint32_t Flags;
    std::uint8_t Weight;
    std::uint8_t Quality;
    std::uint16_t Unknown0;
    std::uint8_t Unknown1;
    std::uint8_t Quantity;
    std::uint16_t Anim;
    std::uint8_t Unknown2;
    std::uint8_t Hue;
    std::uint8_t Unknown3;
    std::uint8_t Unknown4;
    std::uint8_t Height;
    char Name[NameLength];
};
#pragma pack(pop)

static_assert(sizeof(TTileRecord) == RecordSize, "record layout");

// Length of the name held in a record: up to its first zero byte, at most 20.
int NameSize(const TTileRecord &record);
