#include "app/list/NameMatch.h"

#include "platform/AnsiCodePage.h"
#include "platform/qt/AnsiString.h"

TNameMatch::TNameMatch(const QString &Text)
    : FText(Text)
    , FEncodable(AnsiString::CanEncode(Text))
    , FUpper(AnsiCodePage::Upper(AnsiString::Encode(Text).toStdString()))
{
}

// Names are at most 20 characters; the upper-cased bytes go into a buffer
// on the stack, as the list filter asks this of every tile.
bool TNameMatch::In(const QString &Name) const
{
    if (FText.isEmpty())
        return true;
    if (!FEncodable)
        return false;
    char buffer[64];
    std::string heap;
    char *bytes = buffer;
    if (Name.size() > qsizetype(sizeof buffer)) {
        heap.resize(std::size_t(Name.size()));
        bytes = heap.data();
    }
    for (qsizetype i = 0; i < Name.size(); ++i)
        bytes[i] = char(AnsiCodePage::UpperByte(AnsiCodePage::FromUnicode(Name.at(i).unicode())));
    return std::string_view(bytes, std::size_t(Name.size())).find(FUpper) != std::string_view::npos;
}
