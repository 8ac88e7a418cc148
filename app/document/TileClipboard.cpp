#include "app/document/TileClipboard.h"

#include "app/document/CountWords.h"
#include "app/document/TileDocument.h"

#include "tiledata/TileDataReader.h"
#include "tiletext/TileDump.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

TTileClipboard::TTileClipboard(TTileDocument &Document, QObject *Parent)
    : QObject(Parent)
    , FDocument(Document)
{
}

void TTileClipboard::Copy()
{
    const std::vector<int> &tiles = FDocument.SelectedTiles();
    if (!FDocument.Store() || tiles.empty())
        return;
    const std::string text = TileDump::WriteTiles(*FDocument.Store(), FDocument.Section(), tiles);
    // As UTF-8 bytes: the clipboard converts them only for a program that
    // asks, not megabytes at every copy.
    auto *data = new QMimeData;
    data->setData(QStringLiteral("text/plain"), QByteArray(text.data(), qsizetype(text.size())));
    QGuiApplication::clipboard()->setMimeData(data);
    emit Say(QStringLiteral("Copied ") + Counted(qint64(tiles.size()), QStringLiteral("tile"), QStringLiteral("tiles")));
}

void TTileClipboard::Paste()
{
    const QByteArray text = QGuiApplication::clipboard()->text().toUtf8();
    FDocument.Paste(std::string_view(text.constData(), std::size_t(text.size())));
}
