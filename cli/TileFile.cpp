#include "cli/TileFile.h"

#include "platform/Error.h"
#include "platform/SharedReadFile.h"
#include "platform/qt/AnsiString.h"
#include "tiledata/TileDataReader.h"

#include <QLocale>
#include <QStringList>

TileFile::TileFile(const std::string &Path)
{
    const std::int64_t size = SharedReadFile(Path).Size();
    const TTileLayout layout = TTileLayout::ForFileSize(size);
    if (size < layout.RecordsEnd(TTileKind::Item))
        throw Error(Path + ": the file is " + std::to_string(size) + " bytes long; the "
                    + QLocale(QLocale::English).toString(layout.Count(TTileKind::Item)).toStdString() + " tile records need "
                    + std::to_string(layout.RecordsEnd(TTileKind::Item)));
    FStore = std::make_unique<TTileData>(AnsiString::FromPath(Path));
    QStringList lines;
    FStore->LoadTiles(lines);
}

TileFile::~TileFile() = default;
