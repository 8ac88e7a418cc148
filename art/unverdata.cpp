#include "art/unverdata.h"

#include "art/MessageBoxes.h"
#include "art/ReadArtIDX.h"
#include "platform/Error.h"
#include "platform/SharedReadFile.h"
#include "platform/qt/AnsiString.h"

#include <QCursor>
#include <QGuiApplication>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <unordered_set>

namespace {

constexpr int CountSize = 4;
constexpr int RecordSize = 20;
constexpr int RecordsPerRead = 4096;
constexpr std::int32_t ArtFileId = 4;

std::int32_t Long(const unsigned char *Bytes)
{
    return qFromLittleEndian<std::int32_t>(Bytes);
}

// Shows the busy cursor for its lifetime, when there is a screen to show
// it on.
class TBusyCursor
{
public:
    TBusyCursor()
        : FShown(qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr)
    {
        if (FShown)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
    ~TBusyCursor()
    {
        if (FShown)
            QGuiApplication::restoreOverrideCursor();
    }
    TBusyCursor(const TBusyCursor &) = delete;
    TBusyCursor &operator=(const TBusyCursor &) = delete;

private:
    bool FShown;
};

} // namespace

TVerdataReader::TVerdataReader(const QString &FileName)
    : FFileName(FileName)
{
    Close();
    FArtReader = std::make_unique<TArtReader>(FileName, QString(), false);
}

TVerdataReader::~TVerdataReader() = default;

bool TVerdataReader::Open()
{
    if (FOpened)
        Close();
    try {
        FStream = std::make_unique<SharedReadFile>(AnsiString::ToPath(FFileName));
        FOpened = true;
    } catch (const Error &) {
        FOpened = false;
    }
    return FOpened;
}

void TVerdataReader::Close()
{
    FStream.reset();
    FOpened = false;
}

void TVerdataReader::LoadPatches()
{
    if (!FOpened || !FStream) {
        MessageBoxes::ShowInformation(QStringLiteral("Erst per TVerDataReader.Open öffnen."));
        return;
    }
    FCount = 0;
    const TBusyCursor busy;
    FPatches.clear();
    FCurrentPatch = -1;
    std::array<unsigned char, CountSize> count{};
    FDeclaredCount = FStream->ReadAt(0, count.data(), count.size()) == count.size() ? Long(count.data()) : 0;
    ReadPatchRecords();
}

void TVerdataReader::ReadPatchRecords()
{
    // Seen blocks are kept in a set so that the first-record-wins rule
    // costs no more than one look-up per record, however long the file.
    std::unordered_set<std::int32_t> blocks;
    std::vector<unsigned char> chunk(std::size_t(RecordSize) * RecordsPerRead);
    std::int64_t remaining = FDeclaredCount;
    std::int64_t position = CountSize;
    while (remaining > 0) {
        const std::int64_t wanted = std::min<std::int64_t>(remaining, RecordsPerRead);
        const std::size_t got = FStream->ReadAt(position, chunk.data(), std::size_t(wanted) * RecordSize);
        const std::size_t records = got / RecordSize;
        for (std::size_t k = 0; k < records; ++k) {
            const unsigned char *record = &chunk[k * RecordSize];
            FRecord.FileId = Long(record);
            FRecord.Block = Long(record + 4);
            FRecord.Offset = Long(record + 8);
            FRecord.Length = Long(record + 12);
            FRecord.Extra = Long(record + 16);
            if (FRecord.FileId != ArtFileId)
                continue;
            // The subtraction wraps instead of overflowing for blocks near
            // the bottom of the range; the art reader adds back the same way.
            FRecord.Block = std::int32_t(std::uint32_t(FRecord.Block) - StaticArtBase);
            if (blocks.insert(FRecord.Block).second)
                AddRecord();
        }
        // The file ends before the records it declares: stop there.
        if (records < std::size_t(wanted))
            return;
        remaining -= wanted;
        position += wanted * RecordSize;
    }
}

void TVerdataReader::AddRecord()
{
    FPatches.push_back(FRecord);
    FCurrentPatch = int(FPatches.size()) - 1;
}

std::int32_t TVerdataReader::PatchCount()
{
    FCount = std::int32_t(FPatches.size());
    return FCount;
}

void TVerdataReader::GetPatch(std::int32_t Index, TPatchEntry &Patch)
{
    if (Index < 0 || std::size_t(Index) >= FPatches.size())
        throw Error(QStringLiteral("List index out of bounds (%1)").arg(Index).toStdString());
    FCurrentPatch = Index;
    Patch = FPatches[std::size_t(Index)];
}

void TVerdataReader::DrawPatch(std::int32_t Offset, QImage &Target, QPoint &Size)
{
    FArtReader->DrawRunLengthArt(Offset, Target, Size);
}
