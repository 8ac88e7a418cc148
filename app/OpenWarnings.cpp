#include "app/OpenWarnings.h"

#include "app/ErrorBox.h"
#include "tiledata/TileDataReader.h"

#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>

QString TOpenWarnings::Text(const TTileData &Store)
{
    QStringList texts;
    if (TTileLayout::IsAmbiguousSize(Store.FileSize()))
        texts << QStringLiteral("%1 is %2 bytes long, which fits neither tile data layout exactly. It is read as the "
                                "classic layout (%3); check that this is right before you save.")
                     .arg(QFileInfo(Store.GetFileName()).fileName(),
                          QLocale(QLocale::English).toString(qlonglong(Store.FileSize())),
                          QString::fromStdString(Store.Layout().Description()));
    const QString shortFile = Store.ShortFileWarning();
    if (!shortFile.isEmpty())
        texts << shortFile;
    return texts.join(QLatin1String("\n\n"));
}

void TOpenWarnings::Show(QWidget *Parent, const TTileData &Store)
{
    const QString text = Text(Store);
    if (text.isEmpty())
        return;
    QMessageBox box(QMessageBox::Warning, ApplicationTitle(), text, QMessageBox::Ok, Parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}
