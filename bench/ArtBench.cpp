// Picture decoding and the hue table load against reading the same bytes
// with the fewest system calls.

#include "bench/BenchFiles.h"
#include "bench/BenchPictures.h"
#include "bench/BenchRegistry.h"
#include "bench/BenchWidgets.h"

#include "art/PackedArtReader.h"
#include "art/ReadArtIDX.h"
#include "art/huechooser.h"
#include "tests/support/ArtWriter.h"
#include "tests/support/ContainerWriter.h"
#include "tests/support/HueWriter.h"

#include <QDir>
#include <QImage>
#include <QPoint>

#include <cstdint>
#include <memory>
#include <stdexcept>

namespace {

constexpr int PictureSides[] = {44, 128, 256, 512};

// Where one run-length picture of each size lies in the generated art file.
struct PictureEntry
{
    int Side = 0;
    int Entry = 0;
    std::int32_t Offset = 0;
    std::size_t Length = 0;
    ArtWriter::Pixels Pixels; // 0 where the picture is see-through
};

// The art files with one picture of each size, generated once.
struct ArtFiles
{
    QString ArtPath;
    QString IndexPath;
    std::vector<PictureEntry> Pictures;
};

const ArtFiles &GeneratedArt()
{
    static const ArtFiles files = [] {
        ArtWriter writer;
        ArtFiles made;
        for (const int side : PictureSides) {
            PictureEntry entry;
            entry.Side = side;
            entry.Pixels = ItemPicture(side, side, std::uint32_t(side));
            const ArtWriter::RunLengthPicture picture = ArtWriter::RunsOf(side, side, entry.Pixels, 0);
            entry.Length = ArtWriter::RunLengthEntry(picture).size();
            entry.Entry = writer.AddRunLength(picture);
            made.Pictures.push_back(entry);
        }
        const QString folder = BenchFiles::Instance().Folder();
        writer.WriteArtFilesTo(folder);
        made.ArtPath = folder + QStringLiteral("art.mul");
        made.IndexPath = folder + QStringLiteral("artidx.mul");
        const TArtReader reader(made.ArtPath, made.IndexPath, false);
        for (PictureEntry &entry : made.Pictures)
            entry.Offset = reader.Entry(entry.Entry).Offset;
        return made;
    }();
    return files;
}

const PictureEntry &PictureOfSide(int side)
{
    const ArtFiles &files = GeneratedArt();
    for (std::size_t k = 0; k < std::size(PictureSides); ++k) {
        if (PictureSides[k] == side)
            return files.Pictures[k];
    }
    throw std::logic_error("no picture of that size");
}

// A fast decode is worthless if it draws the wrong picture: the larger
// pictures span several reads of the file, so check every pixel once,
// outside the timing.
void CheckDecoded(const QImage &target, const PictureEntry &entry)
{
    for (int y = 0; y < entry.Side; ++y) {
        const auto *row = reinterpret_cast<const std::uint16_t *>(target.constScanLine(y));
        for (int x = 0; x < entry.Side; ++x) {
            const std::uint16_t drawn = entry.Pixels[std::size_t(y) * entry.Side + x];
            if (row[x] != (drawn == 0 ? 0x7FFF : drawn))
                throw std::logic_error("the decoded picture differs from the one written");
        }
    }
}

BenchSetup DecodeCase(int side)
{
    return [side] {
        const ArtFiles &files = GeneratedArt();
        const PictureEntry entry = PictureOfSide(side);
        auto reader = std::make_shared<TArtReader>(files.ArtPath, files.IndexPath, false);
        auto target = std::make_shared<QImage>();
        QPoint size;
        reader->DrawRunLengthArt(entry.Offset, *target, size);
        CheckDecoded(*target, entry);
        return BenchBody([reader, target, entry, side] {
            QPoint size;
            reader->DrawRunLengthArt(entry.Offset, *target, size);
            if (size != QPoint(side, side))
                throw std::logic_error("the picture did not decode whole");
        });
    };
}

// Reading the entry's bytes with one open, one read and one close: the
// least a decoder that goes to the file can do.
BenchSetup ReadEntryBaseline(int side)
{
    return [side] {
        const std::string path = LocalPath(GeneratedArt().ArtPath);
        const PictureEntry entry = PictureOfSide(side);
        auto buffer = std::make_shared<std::vector<unsigned char>>(entry.Length);
        return BenchBody([path, entry, buffer] { ReadOnce(path, entry.Offset, buffer->data(), buffer->size()); });
    };
}

const QString &HuesPath()
{
    static const QString path = [] {
        HueWriter writer(375);
        for (int hue = 1; hue <= writer.HueCount(); ++hue) {
            HueWriter::Hue entry;
            entry.Colors = HueWriter::Ramp(HueWriter::Colour15(hue % 8, 0, 2), HueWriter::Colour15(31, hue % 32, 20));
            entry.Name = "hue " + std::to_string(hue);
            writer.SetHue(hue, entry);
        }
        const QString made = BenchFiles::Instance().Folder() + QStringLiteral("hues.mul");
        writer.WriteTo(made);
        return made;
    }();
    return path;
}

BenchBody LoadHuesCase()
{
    const QString path = HuesPath();
    return [path] {
        THUEColorChooser table;
        table.LoadHues(path);
        if (table.Entries().size() != 3000)
            throw std::logic_error("the hue table did not load whole");
        SettleWidgets();
    };
}

BenchBody ReadHuesBaseline()
{
    const std::string path = LocalPath(HuesPath());
    auto buffer = std::make_shared<std::vector<unsigned char>>(375 * 708);
    return [path, buffer] { ReadOnce(path, 0, buffer->data(), buffer->size()); };
}

// A newer client's art, 0x14000 entries, once as art.mul with artidx.mul
// and once packed into the container; each entry a small picture, zlib-packed
// in the container, and item 0x1234 a 128 x 128 one.
constexpr int NewerArtEntries = 0x14000;
constexpr int DrawnItem = int(StaticArtBase) + 0x1234;

struct NewerArt
{
    QString ArtPath;
    QString IndexPath;
    QString ContainerPath;
};

const NewerArt &GeneratedNewerArt()
{
    static const NewerArt files = [] {
        const ArtWriter::Bytes small = ArtWriter::RunLengthEntry(ArtWriter::RunsOf(4, 4, ItemPicture(4, 4, 1), 0));
        const ArtWriter::Bytes drawn =
            ArtWriter::RunLengthEntry(ArtWriter::RunsOf(128, 128, ItemPicture(128, 128, 2), 0));
        // Packing the one small picture once keeps the set-up short.
        const ContainerWriter::Bytes packedSmall = ContainerWriter::Pack(small);
        ArtWriter art;
        ContainerWriter container;
        for (int entry = 0; entry < NewerArtEntries; ++entry) {
            const std::uint64_t key = container.KeyOf(ContainerWriter::ArtName(entry));
            if (entry == DrawnItem) {
                art.AddEntry(drawn);
                container.AddArt(entry, drawn, true);
            } else {
                art.AddEntry(small);
                container.AddEntry(key, packedSmall, std::uint32_t(small.size()), 1);
            }
        }
        NewerArt made;
        const QString folder = BenchFiles::Instance().Folder() + QStringLiteral("newer/");
        QDir().mkpath(folder);
        art.WriteArtFilesTo(folder);
        made.ArtPath = folder + QStringLiteral("art.mul");
        made.IndexPath = folder + QStringLiteral("artidx.mul");
        made.ContainerPath = folder + QStringLiteral("artLegacyMUL.uop");
        container.WriteTo(made.ContainerPath);
        return made;
    }();
    return files;
}

void DrawWhole(TArtSource &Source)
{
    QImage target;
    QPoint size;
    Source.DrawArt(DrawnItem, target, size);
    if (size != QPoint(128, 128))
        throw std::logic_error("the item did not draw whole");
}

BenchBody OpenContainerCase()
{
    const QString path = GeneratedNewerArt().ContainerPath;
    return [path] {
        TPackedArtReader reader(path, false);
        DrawWhole(reader);
    };
}

BenchBody OpenIndexBaseline()
{
    const NewerArt files = GeneratedNewerArt();
    return [files] {
        TArtReader reader(files.ArtPath, files.IndexPath, false);
        DrawWhole(reader);
    };
}

const BenchPairRegistration OpenContainer({"open a container of 0x14000 entries and draw one item", "OpenContainer",
                                           "OpenArtIndex", 1.5},
                                          OpenContainerCase, OpenIndexBaseline);
const BenchPairRegistration Decode44({"run-length decode 44 x 44", "RunLength44", "ReadEntry44", 2.0},
                                     DecodeCase(44), ReadEntryBaseline(44));
const BenchPairRegistration Decode128({"run-length decode 128 x 128", "RunLength128", "ReadEntry128", 2.0},
                                      DecodeCase(128), ReadEntryBaseline(128));
const BenchPairRegistration Decode256({"run-length decode 256 x 256", "RunLength256", "ReadEntry256", 2.0},
                                      DecodeCase(256), ReadEntryBaseline(256));
const BenchPairRegistration Decode512({"run-length decode 512 x 512", "RunLength512", "ReadEntry512", 2.0},
                                      DecodeCase(512), ReadEntryBaseline(512));
const BenchPairRegistration LoadHues({"LoadHues of 3000 hues (progress window included)", "LoadHues", "ReadHues", 0},
                                     LoadHuesCase, ReadHuesBaseline);

} // namespace
