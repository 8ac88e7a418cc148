#pragma once

#include <QMenuBar>

class QUndoStack;

// The File, Edit, View and Help menus. Each entry asks for its action by a
// signal, which the window connects to the handler that does it; Undo and
// Redo work the undo history directly.
class TMenuBar : public QMenuBar
{
    Q_OBJECT

public:
    TMenuBar(QUndoStack &Undo, QWidget *Parent);

    // The menus, for other parts of the window to add their entries to.
    QMenu *FileMenu = nullptr;
    QMenu *EditMenu = nullptr;
    QMenu *ViewMenu = nullptr;

    // Every action of the menus that has keys, but the one named Except.
    QList<QAction *> KeyedActions(const QString &Except) const;

signals:
    void OpenRequested();
    void SaveRequested();
    void SaveAsRequested();
    void ReloadRequested();
    void CloseRequested();
    void CopyTilesRequested();
    void PasteTilesRequested();
    void FindRequested();
    void FindNextRequested();
    void GoToRequested();
    void SwitchSectionRequested();
    void FilterRequested();
    void ShowEveryTileRequested();
    void AboutRequested();

private:
    QAction *Add(QMenu *Menu, const QString &Text, const QList<QKeySequence> &Keys, void (TMenuBar::*Request)());
};
