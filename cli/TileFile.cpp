#include "cli/TileFile.h"

#include "platform/Error.h"
#include "platform/SharedReadFile.h"
#include "platform/qt/AnsiString.h"
#include "tiledata/TileDataReader.h"

#include <QStringList>

TileFile::TileFile(const std::string &Path)
{
    const std::int64_t size = SharedReadFile(Path).Size();
    if (size < HandledEnd)
        throw Error(Path + ": the file is " + std::to_string(size) + " bytes long; the 16,383 tile records need "
                    + std::to_string(HandledEnd));
    FStore = std::make_unique<TTileData>(AnsiString::FromPath(Path));
    QStringList lines;
    FStore->LoadTiles(lines);
}

TileFile::~TileFile() = default;
