#include "tiletext/TileEdit.h"

TileRow TileEdit::AppliedTo(const TileRow &Row) const
{
    TileRow edited = Row;
    edited.Flags = Flags.value_or(Row.Flags);
    for (std::size_t k = 0; k < Numbers.size(); ++k)
        edited.Numbers[k] = Numbers[k].value_or(Row.Numbers[k]);
    if (Name)
        edited.Name = *Name;
    return edited;
}
