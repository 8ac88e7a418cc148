#include "art/unverdata.h"

#include "art/MessageBoxes.h"
#include "art/PatchRecords.h"
#include "art/ReadArtIDX.h"
#include "platform/Error.h"
#include "platform/SharedReadFile.h"
#include "platform/qt/AnsiString.h"

#include <QCursor>
#include <QGuiApplication>

#include <unordered_set>

namespace {

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
    const TPatchRecords records(*FStream);
    FDeclaredCount = records.DeclaredCount();
    ReadPatchRecords(records);
}

void TVerdataReader::ReadPatchRecords(const TPatchRecords &Records)
{
    // Seen blocks are kept in a set so that the first-record-wins rule
    // costs no more than one look-up per record, however long the file.
    std::unordered_set<std::int32_t> blocks;
    Records.ForEach([&](const TPatchEntry &Record) {
        if (Record.FileId != TPatchRecords::ArtFileId)
            return;
        FRecord = Record;
        // The subtraction wraps instead of overflowing for blocks near
        // the bottom of the range; the art reader adds back the same way.
        FRecord.Block = std::int32_t(std::uint32_t(FRecord.Block) - StaticArtBase);
        if (blocks.insert(FRecord.Block).second)
            AddRecord();
    });
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
