#include "tests/support/ArtWriter.h"

#include "tests/support/TestFiles.h"

#include <stdexcept>

using TestFiles::PutU16;
using TestFiles::PutU32;

namespace {

void AppendU16(ArtWriter::Bytes &Bytes, std::uint32_t Value)
{
    PutU16(Bytes, Bytes.size(), std::uint16_t(Value));
}

void AppendU32(ArtWriter::Bytes &Bytes, std::uint32_t Value)
{
    PutU32(Bytes, Bytes.size(), Value);
}

void AppendRow(ArtWriter::Bytes &Bytes, const ArtWriter::Row &Row)
{
    for (const ArtWriter::Run &run : Row) {
        AppendU16(Bytes, run.Gap);
        AppendU16(Bytes, run.Count >= 0 ? std::uint32_t(run.Count) : std::uint32_t(run.Data.size()));
        for (std::uint16_t pixel : run.Data)
            AppendU16(Bytes, pixel);
    }
    AppendU16(Bytes, 0);
    AppendU16(Bytes, 0);
}

} // namespace

bool ArtWriter::InDiamond(int X, int Y)
{
    // The upper half widens from columns 21..22 by one column on each side
    // per row; the lower half mirrors it.
    if (Y < 0 || Y >= RawSide || X < 0 || X >= RawSide)
        return false;
    const int halfRow = Y < 22 ? Y : 43 - Y;
    return X >= 21 - halfRow && X <= 22 + halfRow;
}

ArtWriter::Pixels ArtWriter::DiamondOf(const Pixels &Picture)
{
    if (Picture.size() != std::size_t(RawSide * RawSide))
        throw std::invalid_argument("a raw picture has 44 x 44 pixels");
    Pixels diamond;
    for (int y = 0; y < RawSide; ++y)
        for (int x = 0; x < RawSide; ++x)
            if (InDiamond(x, y))
                diamond.push_back(Picture[std::size_t(y * RawSide + x)]);
    return diamond;
}

ArtWriter::Bytes ArtWriter::RawEntry(const Pixels &Diamond, std::uint32_t Header)
{
    if (Diamond.size() != std::size_t(RawPixelCount))
        throw std::invalid_argument("a raw entry has 1012 pixels");
    Bytes bytes;
    AppendU32(bytes, Header);
    for (std::uint16_t pixel : Diamond)
        AppendU16(bytes, pixel);
    return bytes;
}

ArtWriter::Bytes ArtWriter::RunLengthEntry(const RunLengthPicture &Picture)
{
    Bytes rows;
    Bytes lineTable;
    for (int y = 0; y < Picture.Height; ++y) {
        const std::size_t startWord = rows.size() / 2;
        if (startWord > 0xFFFF)
            throw std::runtime_error("row start beyond a 16-bit line table word");
        AppendU16(lineTable, std::uint32_t(startWord));
        AppendRow(rows, std::size_t(y) < Picture.Rows.size() ? Picture.Rows[std::size_t(y)] : Row());
    }
    Bytes bytes;
    AppendU32(bytes, Picture.Header);
    AppendU16(bytes, Picture.Width);
    AppendU16(bytes, Picture.Height);
    bytes.insert(bytes.end(), lineTable.begin(), lineTable.end());
    bytes.insert(bytes.end(), rows.begin(), rows.end());
    return bytes;
}

ArtWriter::RunLengthPicture ArtWriter::RunsOf(int Width, int Height, const Pixels &Picture,
                                              std::uint16_t Transparent, std::uint32_t Header)
{
    if (Width <= 0 || Height <= 0 || Picture.size() != std::size_t(Width) * std::size_t(Height))
        throw std::invalid_argument("picture size does not match its pixels");
    RunLengthPicture result;
    result.Header = Header;
    result.Width = std::uint16_t(Width);
    result.Height = std::uint16_t(Height);
    for (int y = 0; y < Height; ++y) {
        Row row;
        int runEnd = 0; // column after the previous run
        int x = 0;
        while (x < Width) {
            if (Picture[std::size_t(y * Width + x)] == Transparent) {
                ++x;
                continue;
            }
            Run run;
            run.Gap = std::uint16_t(x - runEnd);
            while (x < Width && Picture[std::size_t(y * Width + x)] != Transparent)
                run.Data.push_back(Picture[std::size_t(y * Width + x++)]);
            runEnd = x;
            row.push_back(run);
        }
        result.Rows.push_back(row);
    }
    return result;
}

int ArtWriter::AddIndexRecord(std::int32_t Offset, std::int32_t Length, std::uint32_t Extra)
{
    FIndex.push_back({Offset, Length, Extra});
    return int(FIndex.size()) - 1;
}

std::int32_t ArtWriter::AppendArtBytes(const Bytes &Data)
{
    const auto offset = std::int32_t(FArt.size());
    FArt.insert(FArt.end(), Data.begin(), Data.end());
    return offset;
}

int ArtWriter::AddEntry(const Bytes &Data, std::uint32_t Extra)
{
    return AddIndexRecord(AppendArtBytes(Data), std::int32_t(Data.size()), Extra);
}

int ArtWriter::AddRaw(const Pixels &Diamond)
{
    return AddEntry(RawEntry(Diamond));
}

int ArtWriter::AddRawPicture(const Pixels &Picture)
{
    return AddRaw(DiamondOf(Picture));
}

int ArtWriter::AddRunLength(const RunLengthPicture &Picture)
{
    return AddEntry(RunLengthEntry(Picture));
}

int ArtWriter::AddRunLength(int Width, int Height, const Pixels &Picture, std::uint16_t Transparent)
{
    return AddRunLength(RunsOf(Width, Height, Picture, Transparent));
}

int ArtWriter::AddAbsent()
{
    return AddIndexRecord(-1, -1, 0);
}

void ArtWriter::PadToEntry(int Number)
{
    while (EntryCount() < Number)
        AddAbsent();
}

void ArtWriter::AddPatch(std::int32_t FileId, std::int32_t Block, const Bytes &Data)
{
    FPatches.push_back({FileId, Block, std::int32_t(FPatchData.size()), std::int32_t(Data.size()), 0, true});
    FPatchData.insert(FPatchData.end(), Data.begin(), Data.end());
}

void ArtWriter::AddPatchRecord(std::int32_t FileId, std::int32_t Block, std::int32_t Offset,
                               std::int32_t Length, std::int32_t Extra)
{
    FPatches.push_back({FileId, Block, Offset, Length, Extra, false});
}

void ArtWriter::SetDeclaredPatchCount(std::int32_t Count)
{
    FHasDeclaredCount = true;
    FDeclaredCount = Count;
}

ArtWriter::Bytes ArtWriter::ArtIndexBytes() const
{
    Bytes bytes;
    for (const IndexRecord &record : FIndex) {
        AppendU32(bytes, std::uint32_t(record.Offset));
        AppendU32(bytes, std::uint32_t(record.Length));
        AppendU32(bytes, record.Extra);
    }
    return bytes;
}

ArtWriter::Bytes ArtWriter::VerdataBytes() const
{
    const std::size_t dataStart = 4 + 20 * FPatches.size();
    Bytes bytes;
    AppendU32(bytes, std::uint32_t(FHasDeclaredCount ? FDeclaredCount : std::int32_t(FPatches.size())));
    for (const PatchRecord &record : FPatches) {
        AppendU32(bytes, std::uint32_t(record.FileId));
        AppendU32(bytes, std::uint32_t(record.Block));
        AppendU32(bytes, std::uint32_t(record.InDataArea ? std::int64_t(dataStart) + record.Offset : record.Offset));
        AppendU32(bytes, std::uint32_t(record.Length));
        AppendU32(bytes, std::uint32_t(record.Extra));
    }
    bytes.insert(bytes.end(), FPatchData.begin(), FPatchData.end());
    return bytes;
}

void ArtWriter::WriteArtFilesTo(const QString &Folder) const
{
    TestFiles::WriteBytes(Folder + QStringLiteral("/artidx.mul"), ArtIndexBytes());
    TestFiles::WriteBytes(Folder + QStringLiteral("/art.mul"), ArtBytes());
}

void ArtWriter::WriteVerdataTo(const QString &Folder) const
{
    TestFiles::WriteBytes(Folder + QStringLiteral("/verdata.mul"), VerdataBytes());
}

void ArtWriter::WriteTo(const QString &Folder) const
{
    WriteArtFilesTo(Folder);
    WriteVerdataTo(Folder);
}
