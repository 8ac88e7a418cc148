#pragma once

#include <QString>

#include <cstdint>
#include <string>
#include <vector>

// Builds the packed container of newer clients (artLegacyMUL.uop) byte by
// byte, for tests, fuzz seeds, benchmarks and demo data: a header, a chain
// of blocks of entries, each block followed by the data of its entries. It
// hashes names and packs data itself and shares no code with the reader.
class ContainerWriter
{
public:
    using Bytes = std::vector<unsigned char>;

    // Which half of the name's hash goes into the key's high 32 bits.
    enum class KeyOrder { PrimaryHigh, PrimaryLow };

    static constexpr std::size_t HeaderSize = 40;
    static constexpr std::size_t BlockHeaderSize = 12;
    static constexpr std::size_t RecordSize = 34;

    explicit ContainerWriter(int BlockCapacity = 1000, KeyOrder Order = KeyOrder::PrimaryHigh);

    // hashlittle2 of Text from the initial values C and B: {c, b}.
    static std::pair<std::uint32_t, std::uint32_t> Hash(const std::string &Text, std::uint32_t C = 0,
                                                        std::uint32_t B = 0);
    // "build/artlegacymul/" and the number as 8 digits, then ".tga".
    static std::string ArtName(int EntryNumber);
    std::uint64_t KeyOf(const std::string &Name) const;
    // Data as a zlib stream.
    static Bytes Pack(const Bytes &Data);

    // Art entry EntryNumber holding Data (what art.mul holds for it),
    // zlib-packed or stored; DataHeader bytes precede it in the file.
    // Returns the entry's position among all entries.
    int AddArt(int EntryNumber, const Bytes &Data, bool Packed, const Bytes &DataHeader = {});
    // An entry of any key and fields, written as given.
    int AddEntry(std::uint64_t Key, const Bytes &Stored, std::uint32_t Size, std::uint16_t Compression);
    // An unused slot: data offset 0.
    int AddUnused();

    // The container, and where its parts lie in it.
    Bytes Build() const;
    std::size_t BlockOffset(int Block) const;
    std::size_t RecordOffset(int Entry) const;
    std::size_t DataOffset(int Entry) const;

    void WriteTo(const QString &Path) const;

    // Overwrites bytes of a built container, for files that lie.
    static void Put32(Bytes &File, std::size_t At, std::uint32_t Value);
    static void Put64(Bytes &File, std::size_t At, std::uint64_t Value);

private:
    struct Entry
    {
        std::uint64_t Key = 0;
        Bytes Header;
        Bytes Stored;
        std::uint32_t Size = 0;
        std::uint16_t Compression = 0;
        bool Unused = false;
    };

    int Blocks() const;
    int CountIn(int Block) const;
    std::vector<std::size_t> BlockOffsets() const;

    int FCapacity;
    KeyOrder FOrder;
    std::vector<Entry> FEntries;
};
