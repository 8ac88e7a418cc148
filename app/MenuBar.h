#pragma once

#include <QMenuBar>

class TEditorTools;
class TForm1;

// The File, Edit, View and Help menus. Entries for what the form's buttons
// do (Save, Find, Close, About) run the buttons' own handlers.
class TMenuBar : public QMenuBar
{
    Q_OBJECT

public:
    TMenuBar(TForm1 &Form, TEditorTools &Tools);

private:
    QAction *Add(QMenu *Menu, const QString &Text, const QList<QKeySequence> &Keys,
                 const std::function<void()> &Handler);
    void Guarded(const std::function<void()> &Handler);

    TForm1 &FForm;
};
