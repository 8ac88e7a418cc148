// The hue table from arbitrary bytes: LoadHues, then GetHueColor for a
// spread of keys and shades; and the art view's tint, ArtColor, with a
// text from the input, on a picture drawn from fixed art files beside it.

#include "art/VellArtReader.h"
#include "art/huechooser.h"
#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzScratch.h"
#include "platform/Error.h"
#include "tests/support/ArtWriter.h"

#include <QDir>

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

// The art folder of the tint: the picture of static tile 0 is a small
// run-length picture of many colours. Written once; the hue file beside it
// is written per input.
QString ArtFolder()
{
    static const QString folder = [] {
        const QString path = FuzzScratch::PathOf(QStringLiteral("tint"));
        Expect(QDir().mkpath(path), "cannot make the art folder");
        ArtWriter writer;
        writer.PadToEntry(ArtWriter::StaticArtBase);
        ArtWriter::Pixels picture(7 * 5);
        for (std::size_t i = 0; i < picture.size(); ++i)
            picture[i] = std::uint16_t(i * 0x0421 + i * 7);
        writer.AddRunLength(7, 5, picture, 0x7FFF);
        writer.WriteArtFilesTo(path);
        return path;
    }();
    return folder;
}

void Tint(const std::vector<std::uint8_t> &File, const QString &Text)
{
    const QString folder = ArtFolder();
    FuzzScratch::Write(QStringLiteral("tint/hues.mul"), File);
    TVellArtReader view;
    view.SetArtMulPath(folder);
    Expect(view.Ready() && view.image() != nullptr, "the art view drew nothing");
    QImage first;
    for (int round = 0; round < 2; ++round) {
        try {
            view.SetArtColor(Text);
        } catch (const Error &) {
            // A text that is no number; the view keeps the untinted copy.
            Expect(view.ArtColor().isEmpty(), "a failed tint changed ArtColor");
            Expect(view.ViewPicture() == view.image()->copy(), "a failed tint changed the picture");
            continue;
        }
        Expect(view.ViewPicture().size() == view.image()->size(), "the tinted picture has another size");
        const QString kept = view.ArtColor();
        Expect(kept.isEmpty() || (kept.front().unicode() > u' ' && kept.back().unicode() > u' '),
               "ArtColor kept spaces or control characters at an end");
        // Tints never accumulate: the same text gives the same picture.
        if (round == 0)
            first = view.ViewPicture();
        else
            Expect(view.ViewPicture() == first, "the same tint twice gave another picture");
    }
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
    Tint(file, hueText);
    return 0;
}
