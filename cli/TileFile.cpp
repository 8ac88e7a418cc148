#include "cli/TileFile.h"

#include "cli/ToolInput.h"
#include "platform/Error.h"
#include "platform/SharedReadFile.h"
#include "platform/qt/AnsiString.h"
#include "tiledata/TileDataReader.h"

#include <QLocale>
#include <QStringList>

namespace {

std::vector<unsigned char> ReadBytes(const std::string &Path, TileFile::Use How)
{
    if (How == TileFile::Use::Read)
        return ToolInput::Read(Path);
    if (Path == ToolInput::StandardInputPath)
        throw Error("the tile data file of apply cannot be standard input: apply writes it");
    return ToolInput::NamingFile(Path, [&] { return ReadWholeFile(Path); });
}

} // namespace

TileFile::TileFile(const std::string &Path, Use How)
    : FBytes(ReadBytes(Path, How))
{
    const std::size_t size = FBytes.size();
    const TTileLayout layout = TTileLayout::ForFileSize(std::int64_t(size));
    if (std::int64_t(size) < layout.RecordsEnd(TTileKind::Item))
        throw Error(ToolInput::NameOf(Path) + ": the file is " + std::to_string(size) + " bytes long; the "
                    + QLocale(QLocale::English).toString(layout.Count(TTileKind::Item)).toStdString()
                    + " tile records need " + std::to_string(layout.RecordsEnd(TTileKind::Item)));
    FStore = std::make_unique<TTileData>(AnsiString::FromPath(Path), FBytes);
    QStringList lines;
    FStore->LoadTiles(lines);
}

TileFile::~TileFile() = default;
