#pragma once

#include "app/document/TileField.h"
#include "tiledata/TileKind.h"

#include <QObject>
#include <QString>
#include <QUndoStack>

#include <array>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

class TLayoutGuess;
class TRecordChanges;
class TRecordStep;
class TTileData;
struct TSaveConflicts;
enum class TRecordPart;

// How a load treats what the window shows.
enum class TLoadKind
{
    // Another file: nothing selected, no filter, a fresh undo history.
    Open,
    // The same file again from disk: the selection stays; no filter, a fresh
    // undo history.
    Reload,
    // A copy written by Save As, which the window edits from now on: its
    // records are what the window shows, so the selection, the filter and
    // the undo history stay.
    Adopt,
};

// The user's answer about a cut-off save over which another program wrote
// since: complete it over those bytes, keep the file as it is and give the
// save up, or leave both and open nothing.
enum class TJournalAnswer
{
    Complete,
    Keep,
    Cancel,
};

// The user's answer when a file's length cannot tell its layout.
enum class TLayoutAnswer
{
    Classic,
    Newer,
    // Read in the layout the file most likely has, and take no edit.
    ReadOnly,
};

// The one open tile data file of the window and everything the user does to
// it. The document owns the store, the undo history, the file's path, the
// section shown (items or land) and the selection; it makes every edit,
// load and save, and announces each change by a signal that the window's
// controls follow. Nothing else changes the store.
//
// The selection is a set of tiles of the section shown with a current one,
// whose values the controls show; each section keeps its own.
class TTileDocument : public QObject
{
    Q_OBJECT

public:
    explicit TTileDocument(QObject *Parent);
    ~TTileDocument() override;

    // The store, or none before a file is loaded and after Close.
    const TTileData *Store() const { return FStore.get(); }
    // The path the store was loaded from; empty without a store.
    QString FileName() const;
    bool IsModified() const;
    QUndoStack &UndoStack() { return FUndo; }

    TTileKind Section() const { return FSection; }
    // Switches as the user asks: pending edits go into their tile first.
    void SwitchSection(TTileKind Kind);

    // The current tile of the section shown, -1 for none.
    int CurrentTile() const { return FCurrent[Slot(FSection)]; }
    // The selected tiles of the section shown, ascending; the current tile
    // is one of them.
    const std::vector<int> &SelectedTiles() const { return FSelected[Slot(FSection)]; }
    // Where the next Shift-selection of the section shown starts: the tile
    // last made current other than by such a selection; -1 for none.
    int AnchorTile() const { return FAnchor[Slot(FSection)]; }
    // Makes Tile of the section shown the current and only selected tile
    // (-1: none), and shows it anew even when it already was. A value typed
    // into a box goes into its tiles first.
    void Select(int Tile);
    // Selects Tiles of the section shown, Current among them the current one
    // and the anchor of Shift-selection, or Anchor when given.
    void SetSelection(std::vector<int> Tiles, int Current);
    void SetSelection(std::vector<int> Tiles, int Current, int Anchor);
    // Keeps the selected tiles Keep accepts; true when that changed the
    // selection, which is then announced.
    bool KeepSelected(const std::function<bool(int Tile)> &Keep);
    // The selected tiles that take edits: a tile whose record the file does
    // not wholly hold is shown, greyed out, but never edited.
    std::vector<int> EditableTiles() const;
    bool IsCurrentEditable() const;
    bool HasEditableTiles() const;

    // What the window holds but the store does not yet: a value typed into
    // the focused number box. Saving, reloading and switching lists run it
    // first; it throws when the value is refused, and the action stops.
    void SetPendingEdits(std::function<void()> Commit) { FPendingEdits = std::move(Commit); }
    void CommitPendingEdits();

    // A name typed into the rename box since the current tile was shown, and
    // not yet confirmed. It is pending only while it would change the name.
    void SetPendingName(const QString &Name);
    void ForgetPendingName() { FHasPendingName = false; }
    bool HasPendingName() const;
    const QString &PendingName() const { return FPendingName; }

    // Asked, before it is read, about a file whose length fits neither
    // layout or is too short for either, or whose names contradict its
    // length, with what its names tell; without
    // it such a file opens read-only.
    using LayoutQuestion =
        std::function<TLayoutAnswer(const QString &FileName, qint64 Size, const TLayoutGuess &Guess)>;
    void SetLayoutQuestion(LayoutQuestion Ask) { FLayoutQuestion = std::move(Ask); }
    // Told, before the file shows, what its load did with the journal of a
    // save that was cut off ("... it has been completed: 5,000 tiles"); and
    // asked when another program wrote over the cut-off save since, with
    // the tiles it changed and why the save cannot be completed (empty when
    // it can). Without a question such a file is not opened.
    using JournalNotice = std::function<void(const QString &Text)>;
    using JournalQuestion
        = std::function<TJournalAnswer(const QString &FileName, const QString &Tiles, const QString &Unfinishable)>;
    void SetJournalBoxes(JournalNotice Tell, JournalQuestion Ask)
    {
        FJournalNotice = std::move(Tell);
        FJournalQuestion = std::move(Ask);
    }
    // True for a file opened read-only: no tile takes an edit.
    bool IsReadOnly() const { return FReadOnly; }

    // Edits of every selected tile that takes edits, each one undoable step,
    // none for a change of no byte. Tiles that take none are left alone, and
    // the status text says so.
    void SetFlag(int Bit, bool Set);
    void SetNumber(TTileField Field, qint64 Value);
    void Rename(const QString &Name);
    // Renames every tile of the section shown named OldName, as one step.
    void ReplaceName(const QString &OldName, const QString &NewName);
    // Text in the columns of the tool's dump (UTF-8), as one step: lines
    // with an index change those tiles of the section shown, which then
    // become the selection; one line without an index changes every
    // selected tile. Only the columns given change. The text is read whole
    // first, so a faulty line throws and changes nothing.
    void Paste(std::string_view Text);

    // Reads Path in place of the file loaded now. A file that cannot be read
    // throws and leaves everything as it was.
    void Load(const QString &Path, TLoadKind How);
    // Drops the store, as closing the window does.
    void Close();
    // Writes the edits, asking Confirm when another program changed the file
    // (false: nothing written). Pending edits go in first.
    bool Save(const std::function<bool(const TSaveConflicts &)> &Confirm);
    // Writes a copy of the file with the edits under Target, then edits the
    // copy. Nothing is left behind on an error, and Target stays as it was.
    void SaveAs(const QString &Target);

    // Taking tiles from another file, the one the window compares with:
    // Part of Other's record of each selected tile goes into the tile, as
    // one step. Tiles beyond the end of either file are left alone, and the
    // status text names them. When Other's flags of a tile do not fit this
    // file (bits 32 to 63 into a classic file) it throws, naming the tiles,
    // and takes nothing.
    // OtherName is how the messages name the other file.
    void TakeFromOther(const TTileData &Other, const QString &OtherName, TRecordPart Part);

signals:
    void Loaded(TLoadKind How);
    // Tiles of Kind changed (empty: any of them might have).
    void TilesChanged(TTileKind Kind, const std::vector<int> &Tiles);
    void SelectionChanged();
    void SectionChanged(TTileKind Kind);
    void Saved();
    void ModifiedChanged(bool Modified);
    void StatusText(const QString &Text);

private:
    static std::size_t Slot(TTileKind Kind) { return Kind == TTileKind::Land ? 1 : 0; }
    void SetSection(TTileKind Kind);
    // Runs Change, the edit Step describes, and records it as one step.
    // Skipped: the tiles asked for that the file does not wholly hold.
    void Edit(std::unique_ptr<TRecordStep> Step, const std::function<void(TTileData &)> &Change,
              std::size_t Skipped);
    // The selected tiles left out of an edit of Editable.
    std::size_t LeftOut(const std::vector<int> &Editable) const;
    // An undo or redo: switches to the step's section, shows its first tile.
    void PutBack(const TRecordChanges &Changes, bool Undo);
    void Announce(TTileKind Kind, const std::vector<int> &Tiles);
    static void RefuseUnstorable(const QString &Name);
    // Changed: the tiles whose records the edit changed, not those asked for.
    void TellSkipped(std::size_t Changed, std::size_t Skipped);
    void TellModified();
    void TellReadOnly(const QString &Outcome);
    // Finishes or gives up a cut-off save of Path before it is read, as its
    // journal and, when needed, the user say. Throws Error when the user
    // cancels, so that nothing is opened.
    void SettleJournal(const QString &Path);

    std::unique_ptr<TTileData> FStore;
    QUndoStack FUndo;
    TTileKind FSection = TTileKind::Item;
    std::array<int, 2> FCurrent{-1, -1};
    std::array<int, 2> FAnchor{-1, -1};
    std::array<std::vector<int>, 2> FSelected;
    std::function<void()> FPendingEdits;
    LayoutQuestion FLayoutQuestion;
    JournalNotice FJournalNotice;
    JournalQuestion FJournalQuestion;
    bool FModified = false;
    bool FReadOnly = false;
    QString FPendingName;
    bool FHasPendingName = false;
};
