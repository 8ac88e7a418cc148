#include "app/document/MenuBar.h"

#include <QAction>
#include <QMenu>
#include <QUndoStack>

TMenuBar::TMenuBar(QUndoStack &Undo, QWidget *Parent)
    : QMenuBar(Parent)
{
    setObjectName(QStringLiteral("MenuBar"));

    QMenu *file = addMenu(QStringLiteral("&File"));
    Add(file, QStringLiteral("&Open..."), {QKeySequence(Qt::CTRL | Qt::Key_O)}, &TMenuBar::OpenRequested);
    Add(file, QStringLiteral("&Save"), {QKeySequence(Qt::CTRL | Qt::Key_S)}, &TMenuBar::SaveRequested);
    Add(file, QStringLiteral("Save &As..."), {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
        &TMenuBar::SaveAsRequested);
    Add(file, QStringLiteral("&Reload"), {}, &TMenuBar::ReloadRequested);
    file->addSeparator();
    Add(file, QStringLiteral("&Close"), {QKeySequence(Qt::CTRL | Qt::Key_Q)}, &TMenuBar::CloseRequested);

    QMenu *edit = addMenu(QStringLiteral("&Edit"));
    QAction *undo = Undo.createUndoAction(this, QStringLiteral("Undo"));
    undo->setObjectName(QStringLiteral("UndoAction"));
    undo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z)});
    QAction *redo = Undo.createRedoAction(this, QStringLiteral("Redo"));
    redo->setObjectName(QStringLiteral("RedoAction"));
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    edit->addAction(undo);
    edit->addAction(redo);
    edit->addSeparator();
    // In a number or name box the box takes Ctrl+C and Ctrl+V for its text.
    Add(edit, QStringLiteral("&Copy Tiles"), {QKeySequence(Qt::CTRL | Qt::Key_C)}, &TMenuBar::CopyTilesRequested)
        ->setObjectName(QStringLiteral("CopyTilesAction"));
    Add(edit, QStringLiteral("&Paste Tiles"), {QKeySequence(Qt::CTRL | Qt::Key_V)}, &TMenuBar::PasteTilesRequested)
        ->setObjectName(QStringLiteral("PasteTilesAction"));
    edit->addSeparator();
    Add(edit, QStringLiteral("&Find..."), {QKeySequence(Qt::CTRL | Qt::Key_F)}, &TMenuBar::FindRequested);
    Add(edit, QStringLiteral("Find &Next"), {QKeySequence(Qt::Key_F3)}, &TMenuBar::FindNextRequested);
    Add(edit, QStringLiteral("&Go to Tile..."), {QKeySequence(Qt::CTRL | Qt::Key_G)}, &TMenuBar::GoToRequested)
        ->setObjectName(QStringLiteral("GoToAction"));

    QMenu *view = addMenu(QStringLiteral("&View"));
    Add(view, QStringLiteral("Switch Items/&Land"),
        {QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab)},
        &TMenuBar::SwitchSectionRequested)
        ->setObjectName(QStringLiteral("SwitchSectionAction"));
    Add(view, QStringLiteral("&Filter the List"), {QKeySequence(Qt::CTRL | Qt::Key_L)}, &TMenuBar::FilterRequested);
    Add(view, QStringLiteral("&Show Every Tile"), {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L)},
        &TMenuBar::ShowEveryTileRequested);

    QMenu *help = addMenu(QStringLiteral("&Help"));
    Add(help, QStringLiteral("&About"), {}, &TMenuBar::AboutRequested);

    FileMenu = file;
    EditMenu = edit;
    ViewMenu = view;
}

QAction *TMenuBar::Add(QMenu *Menu, const QString &Text, const QList<QKeySequence> &Keys,
                       void (TMenuBar::*Request)())
{
    QAction *action = Menu->addAction(Text);
    action->setShortcuts(Keys);
    connect(action, &QAction::triggered, this, Request);
    return action;
}

QList<QAction *> TMenuBar::KeyedActions(const QString &Except) const
{
    QList<QAction *> keyed;
    const QList<QMenu *> menus = findChildren<QMenu *>();
    for (QMenu *menu : menus) {
        for (QAction *action : menu->actions()) {
            if (!action->shortcuts().isEmpty() && action->objectName() != Except && !keyed.contains(action))
                keyed.append(action);
        }
    }
    return keyed;
}
