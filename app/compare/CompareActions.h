#pragma once

#include <QObject>

#include <vector>

class QAction;
class TMenuBar;
enum class TRecordPart;

// The comparison's menu entries: File > Compare With... (Ctrl+D) and Stop
// Comparing; Edit > Take from Other (Ctrl+Shift+T) and a submenu that takes
// the flags, the numbers or the name only; View > Next Difference (F8) and
// Previous Difference (Shift+F8). Each asks for its action by a signal. The
// entries that need a comparison are enabled only while one runs.
class TCompareActions : public QObject
{
    Q_OBJECT

public:
    explicit TCompareActions(TMenuBar &Menus);

    void Enable(bool HasFile, bool Comparing);

    QAction *CompareWith = nullptr;
    QAction *StopComparing = nullptr;
    QAction *TakeWhole = nullptr;
    QAction *NextDifference = nullptr;
    QAction *PreviousDifference = nullptr;

signals:
    void CompareRequested();
    void StopRequested();
    void StepRequested(bool Forward);
    void TakeRequested(TRecordPart Part);

private:
    void AddFileEntries(TMenuBar &Menus);
    void AddEditEntries(TMenuBar &Menus);
    void AddViewEntries(TMenuBar &Menus);

    // Every entry that needs a comparison.
    std::vector<QAction *> FWhileComparing;
};
