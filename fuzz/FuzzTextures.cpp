// The texture table and texmaps.mul from arbitrary bytes: the first input
// bytes give the table's length, the table follows, and the rest is the
// pixel file. Every TexID of the table and a few past it are asked for
// their size and pixels.

#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzScratch.h"
#include "tilelinks/LinkFiles.h"

#include <cstdint>

using FuzzScratch::Expect;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *Data, std::size_t Size)
{
    FuzzScratch::Prepare();
    FuzzInput input(Data, Size);
    const std::vector<std::uint8_t> index = input.Bytes(input.Word());
    const std::vector<std::uint8_t> textures = input.Rest();
    FuzzScratch::Write(QStringLiteral("texidx.mul"), index);
    FuzzScratch::Write(QStringLiteral("texmaps.mul"), textures);

    TLinkFiles files(FuzzScratch::PathOf(QString()).toStdString());
    TTextureReader &reader = files.Textures();
    const int count = reader.EntryCount();
    Expect(count == int(index.size() / 12), "the table holds other than its whole entries");
    TTexture texture;
    for (int id = -1; id <= count + 1; ++id) {
        const int side = reader.Side(id);
        Expect(side == 0 || side == 64 || side == 128, "a texture of another size");
        Expect(id > 0 || side == 0, "TexID 0 or below has a texture");
        Expect(reader.Read(id, texture) == (side != 0), "Side and Read disagree");
        Expect(texture.Side == side && texture.Pixels.size() == std::size_t(side * side),
               "a texture's pixels are not its size");
        Expect(std::size_t(side * side * 2) <= textures.size(), "a texture larger than its file");
    }
    return 0;
}
