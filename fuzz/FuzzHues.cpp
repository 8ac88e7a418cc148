// The hue table from arbitrary bytes: LoadHues, then GetHueColor for a
// spread of keys and shades.

#include "art/huechooser.h"
#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzScratch.h"
#include "platform/Error.h"

#include <cstdint>

using FuzzScratch::Expect;

namespace {

QString KeyOf(int Number)
{
    return QStringLiteral("00") + QString::number(Number, 16).toUpper();
}

void CheckColor(std::uint32_t Color)
{
    // Every channel is a 5-bit value shifted up by three.
    Expect((Color & 0xFF070707u) == 0, "a hue colour outside the 5-bit channels");
}

void LookUpSpread(THUEColorChooser &Table, const QString &Text)
{
    const int count = int(Table.Entries().size());
    Expect(count % THUEColorChooser::EntriesPerBlock == 0, "a block gave other than eight hues");
    const int step = count > 64 ? count / 64 : 1;
    for (int number = 1; number <= count + 1; number += step) {
        for (const int shade : {0, 30, 31})
            CheckColor(Table.GetHueColor(KeyOf(number), shade));
    }
    Expect(Table.GetHueColor(KeyOf(count + 1), 30) == 0, "a hue past the last one has a colour");
    Expect(Table.GetHueColor(QStringLiteral("001a"), 30) == 0, "a lower-case key was found");
    for (const int shade : {-1, 32, 1 << 30})
        Expect(Table.GetHueColor(KeyOf(1), shade) == 0, "a shade outside 0 to 31 has a colour");
    CheckColor(Table.GetHueColor(Text, int(Text.size()) % 32));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *Data, std::size_t Size)
{
    FuzzScratch::Prepare();
    FuzzInput input(Data, Size);
    const std::vector<std::uint8_t> text = input.Bytes(input.Byte());
    const QString hueText = QString::fromLatin1(reinterpret_cast<const char *>(text.data()), qsizetype(text.size()));
    const std::vector<std::uint8_t> file = input.Rest();
    const QString path = FuzzScratch::Write(QStringLiteral("hues.mul"), file);

    THUEColorChooser table;
    table.LoadHues(path);
    const std::size_t blocks = file.size() / THUEColorChooser::BlockSize;
    Expect(table.Blocks().size() == blocks, "the table holds other than the file's whole blocks");
    LookUpSpread(table, hueText);
    return 0;
}
