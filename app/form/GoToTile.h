#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

// Go to tile (Ctrl+G): asks for an index, in hex ("1A" or "0x1A") or in
// decimal ("#26"), and shows that tile as a click on its line would.
class TGoToTile : public QObject
{
    Q_OBJECT

public:
    using Show = std::function<void(int Tile)>;
    using Message = std::function<void(const QString &Text)>;

    TGoToTile(QWidget *Window, Show ShowTile, Message Say);

    // Asks for the index; Count is the number of tiles there are.
    void Run(int Count);
    // Goes to the index Text names, or says why not.
    void Go(const QString &Text, int Count);

    // The index a text names, or nothing when it names none.
    static std::optional<int> ParseIndex(const QString &Text);

private:
    QWidget *FWindow;
    Show FShow;
    Message FSay;
};
