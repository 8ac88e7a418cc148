#pragma once

#include "tiledata/TileLayout.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// Which layout a file's bytes read as, for a file whose length cannot tell:
// one too short for either layout, or one that fits neither exactly; and
// whether they contradict the length of a file that fits one layout
// exactly, as a newer file cut to the classic length does. Both
// layouts begin with the land section, so a file holds land records of
// both, but in only one of them do the name fields start where names
// start. Read in the other, a field begins anywhere in a record, and far
// fewer of them read as text.
//
// A name reads as text when it is not empty and its bytes up to the zero
// (or the field's end) are printable Windows-1252 characters. The names
// settle the layout when, of the land records the file wholly holds in
// each, one layout has at least 16 that read as text and twice the other's
// share, counted over the bytes where both layouts keep land records;
// names that read as text in both, or in neither, tell nothing. The
// bytes are untrusted: only those inside Size are read.
class TLayoutGuess
{
public:
    TLayoutGuess(const unsigned char *Bytes, std::size_t Size);

    // True when the names settle the layout.
    bool IsSettled() const { return FNewer.has_value(); }
    // The layout the names read as text in; only when settled.
    bool IsNewer() const { return FNewer.value_or(false); }
    // "its names read as text in the newer layout", or "its names do not
    // tell the layouts apart".
    std::string Reason() const;
    // True when the file's length is exactly that of one layout and its
    // names clearly read as the other: reading it by its length would put
    // edits into other fields.
    bool ContradictsLength() const;
    // The layout the names propose for this file, or none.
    std::optional<TTileLayout> Proposal() const;
    // The layout a file opened read-only is shown in: the proposal; failing
    // that, for a file longer than the classic records, the layout whose
    // exact length is nearest; otherwise the classic one.
    TTileLayout ReadOnlyLayout() const;

private:
    std::int64_t FSize;
    std::optional<bool> FNewer;
};
