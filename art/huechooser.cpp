#include "art/huechooser.h"

#include "platform/Error.h"
#include "platform/SharedReadFile.h"
#include "platform/qt/AnsiString.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <limits>
#include <memory>
#include <new>
#include <optional>
#include <stdexcept>

namespace {

constexpr std::size_t BlockHeaderSize = 4;
constexpr std::size_t EntrySize = 88;
constexpr std::size_t NameOffset = 68;

// Hue numbers are 32-bit; a file with more blocks than that could number
// would not fit in memory anyway.
constexpr std::int64_t MaxBlocks =
    std::numeric_limits<std::int32_t>::max() / THUEColorChooser::EntriesPerBlock;

QApplication *GuiApplication()
{
    return qobject_cast<QApplication *>(QCoreApplication::instance());
}

void DispatchPendingEvents()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

// The window the progress window is centred over: the active one, or else
// the first visible ordinary top-level window.
QWidget *MainWindow()
{
    if (QWidget *active = QApplication::activeWindow())
        return active;
    const QWidgetList windows = QApplication::topLevelWidgets();
    const auto found = std::find_if(windows.begin(), windows.end(), [](const QWidget *w) {
        return w->isVisible() && w->windowType() == Qt::Window;
    });
    return found == windows.end() ? nullptr : *found;
}

QPoint CentreOf(const QWidget *owner)
{
    if (owner)
        return owner->frameGeometry().center();
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().center() : QPoint(0, 0);
}

std::uint16_t WordAt(const THUEColorChooser::tHueBlock &block, std::size_t offset)
{
    return static_cast<std::uint16_t>(block[offset] | (block[offset + 1] << 8));
}

tMyColorEntry EntryOf(const THUEColorChooser::tHueBlock &block, int slot, std::int32_t number)
{
    const std::size_t start = BlockHeaderSize + static_cast<std::size_t>(slot) * EntrySize;
    tMyColorEntry entry;
    entry.Number = number;
    for (std::size_t shade = 0; shade < entry.Colors.size(); ++shade)
        entry.Colors[shade] = WordAt(block, start + 2 * shade);
    std::copy_n(block.begin() + static_cast<std::ptrdiff_t>(start + NameOffset), entry.Name.size(),
                entry.Name.begin());
    return entry;
}

QString KeyOf(std::int32_t number)
{
    return QStringLiteral("00") + QString::number(number, 16).toUpper();
}

} // namespace

// What the user sees while the table loads: the busy cursor and a small
// borderless window with a progress bar. Without a GUI it only dispatches
// pending events.
class THUEColorChooser::LoadFeedback
{
public:
    LoadFeedback() = default;
    LoadFeedback(const LoadFeedback &) = delete;
    LoadFeedback &operator=(const LoadFeedback &) = delete;
    ~LoadFeedback() { Hide(); }

    void Begin()
    {
        if (GuiApplication()) {
            QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
            FBusy = true;
        }
        DispatchPendingEvents();
        if (GuiApplication())
            ShowWindow();
        DispatchPendingEvents();
    }

    void SetMaximum(int maximum)
    {
        if (FBar)
            FBar->setRange(0, maximum);
    }

    // Positions past the end show a full bar.
    void SetPosition(std::int64_t position)
    {
        if (FBar)
            FBar->setValue(static_cast<int>(std::min<std::int64_t>(position, FBar->maximum())));
    }

    void End()
    {
        Hide();
        DispatchPendingEvents();
    }

private:
    void ShowWindow()
    {
        QWidget *owner = MainWindow();
        FWindow = std::make_unique<QWidget>(nullptr, Qt::Window | Qt::FramelessWindowHint);
        FWindow->resize(200, 40);
        FBar = new QProgressBar(FWindow.get());
        FBar->move(10, 10);
        FBar->adjustSize();
        auto *label = new QLabel(QStringLiteral("Lade hue.mul"), FWindow.get());
        label->move(10, 20);
        label->adjustSize();
        FWindow->move(CentreOf(owner) - QPoint(FWindow->width() / 2, FWindow->height() / 2));
        FWindow->show();
    }

    void Hide()
    {
        FBar = nullptr;
        FWindow.reset();
        if (FBusy)
            QApplication::restoreOverrideCursor();
        FBusy = false;
    }

    std::unique_ptr<QWidget> FWindow; // top-level, so owned here rather than by a parent
    QProgressBar *FBar = nullptr;     // owned by FWindow
    bool FBusy = false;
};

void THUEColorChooser::LoadHues(const QString &path)
{
    // Opening comes first: when it fails, nothing else happens.
    std::optional<SharedReadFile> file(std::in_place, AnsiString::ToPath(path));
    FBlocks.clear();
    FEntries.clear();

    LoadFeedback feedback;
    feedback.Begin();
    const auto finish = [&] {
        file.reset();
        feedback.End();
    };
    try {
        ReadBlocks(*file, feedback);
        BuildEntries(feedback);
    } catch (const std::bad_alloc &) {
        finish();
        throw Error("Out of memory");
    } catch (const std::length_error &) {
        finish();
        throw Error("Out of memory");
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

void THUEColorChooser::ReadBlocks(const SharedReadFile &file, LoadFeedback &feedback)
{
    const std::int64_t count = file.Size() / static_cast<std::int64_t>(BlockSize);
    if (count > MaxBlocks)
        throw std::bad_alloc();
    // A file shorter than one block is simply an empty table.
    if (count == 0)
        return;
    FBlocks.reserve(static_cast<std::size_t>(count));
    feedback.SetMaximum(static_cast<int>(count - 1));
    for (std::int64_t i = 0; i < count; ++i) {
        feedback.SetPosition(i);
        tHueBlock block;
        file.ReadExactAt(i * static_cast<std::int64_t>(BlockSize), block.data(), block.size());
        FBlocks.push_back(block);
    }
}

void THUEColorChooser::BuildEntries(LoadFeedback &feedback)
{
    feedback.SetPosition(0);
    FEntries.reserve(FBlocks.size() * EntriesPerBlock);
    for (const tHueBlock &block : FBlocks) {
        for (int slot = 0; slot < EntriesPerBlock; ++slot) {
            const auto built = static_cast<std::int32_t>(FEntries.size());
            feedback.SetPosition(built);
            FEntries.push_back(EntryOf(block, slot, built + 1));
        }
    }
}

std::uint32_t THUEColorChooser::GetHueColor(const QString &key, int shade)
{
    for (tMyColorEntry &entry : FEntries) {
        if (entry.Key.isEmpty())
            entry.Key = KeyOf(entry.Number);
        if (entry.Key == key) {
            if (shade < 0 || shade >= ShadeCount)
                return 0;
            return Color15ToRGB(entry.Colors[static_cast<std::size_t>(shade)]);
        }
    }
    return 0;
}

std::uint32_t THUEColorChooser::Color15ToRGB(std::uint16_t colour)
{
    const std::uint32_t red = ((colour >> 10) & 0x1Fu) << 3;
    const std::uint32_t green = ((colour >> 5) & 0x1Fu) << 3;
    const std::uint32_t blue = (colour & 0x1Fu) << 3;
    return red + green * 256 + blue * 65536;
}
