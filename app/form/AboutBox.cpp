#include "app/form/AboutBox.h"

#include <QMessageBox>

void ShowAboutBox(QWidget *Parent, const QString &ArtSource)
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("About Quorvane"),
                    QStringLiteral("Quorvane " QUORVANE_VERSION "\n"
                                   "An editor for the static tile data of the game.\n"
                                   "Built with C++ and Qt.")
                        + (ArtSource.isEmpty() ? QString() : QStringLiteral("\n\nPictures from %1.").arg(ArtSource)),
                    QMessageBox::Ok, Parent);
    box.exec();
}
