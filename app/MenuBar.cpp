#include "app/MenuBar.h"

#include "app/EditorTools.h"
#include "app/ErrorBox.h"
#include "app/FileActions.h"
#include "app/FilterBar.h"
#include "app/GoToTile.h"
#include "app/TileListModel.h"
#include "app/TileSections.h"
#include "app/UndoSteps.h"
#include "app/Unit1.h"

#include "tiledata/TileDataReader.h"

#include <QAction>
#include <QMenu>

TMenuBar::TMenuBar(TForm1 &Form, TEditorTools &Tools)
    : QMenuBar(&Form)
    , FForm(Form)
{
    setObjectName(QStringLiteral("MenuBar"));
    TEditorTools *tools = &Tools;

    QMenu *file = addMenu(QStringLiteral("&File"));
    Add(file, QStringLiteral("&Open..."), {QKeySequence(Qt::CTRL | Qt::Key_O)}, [tools] { tools->Files->Open(); });
    Add(file, QStringLiteral("&Save"), {QKeySequence(Qt::CTRL | Qt::Key_S)}, [this] { FForm.BitBtn1Click(); });
    Add(file, QStringLiteral("Save &As..."), {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
        [tools] { tools->Files->SaveAs(); });
    Add(file, QStringLiteral("&Reload"), {}, [tools] { tools->Files->Reload(); });
    file->addSeparator();
    Add(file, QStringLiteral("&Close"), {QKeySequence(Qt::CTRL | Qt::Key_Q)}, [this] { FForm.BitBtn2Click(); });

    QMenu *edit = addMenu(QStringLiteral("&Edit"));
    QUndoStack &stack = Tools.Undo->Stack();
    QAction *undo = stack.createUndoAction(this, QStringLiteral("Undo"));
    undo->setObjectName(QStringLiteral("UndoAction"));
    undo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z)});
    QAction *redo = stack.createRedoAction(this, QStringLiteral("Redo"));
    redo->setObjectName(QStringLiteral("RedoAction"));
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    edit->addAction(undo);
    edit->addAction(redo);
    edit->addSeparator();
    Add(edit, QStringLiteral("&Find..."), {QKeySequence(Qt::CTRL | Qt::Key_F)}, [this] { FForm.Button5Click(); });
    Add(edit, QStringLiteral("Find &Next"), {QKeySequence(Qt::Key_F3)}, [tools] { tools->FindNext(); });
    Add(edit, QStringLiteral("&Go to Tile..."), {QKeySequence(Qt::CTRL | Qt::Key_G)}, [this, tools] {
        tools->GoTo->Run(FForm.TileData ? FForm.TileData->Count(FForm.ListModel->Kind()) : 0);
    });

    QMenu *view = addMenu(QStringLiteral("&View"));
    Add(view, QStringLiteral("Switch Items/&Land"),
        {QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab)},
        [tools] { tools->Sections->Toggle(); })
        ->setObjectName(QStringLiteral("SwitchSectionAction"));
    Add(view, QStringLiteral("&Filter the List"), {QKeySequence(Qt::CTRL | Qt::Key_L)},
        [tools] { tools->Filter->FocusBox(); });
    Add(view, QStringLiteral("&Show Every Tile"), {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L)},
        [tools] { tools->Filter->Clear(); });

    QMenu *help = addMenu(QStringLiteral("&Help"));
    Add(help, QStringLiteral("&About"), {}, [this] { FForm.BitBtn3Click(); });
}

QAction *TMenuBar::Add(QMenu *Menu, const QString &Text, const QList<QKeySequence> &Keys,
                       const std::function<void()> &Handler)
{
    QAction *action = Menu->addAction(Text);
    action->setShortcuts(Keys);
    connect(action, &QAction::triggered, this, [this, Handler] { Guarded(Handler); });
    return action;
}

void TMenuBar::Guarded(const std::function<void()> &Handler)
{
    RunHandler(&FForm, Handler);
}
