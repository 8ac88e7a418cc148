#include "app/NameMatch.h"

#include "platform/AnsiCodePage.h"
#include "platform/qt/AnsiString.h"

TNameMatch::TNameMatch(const QString &Text)
    : FText(Text)
    , FEncodable(AnsiString::CanEncode(Text))
    , FUpper(AnsiCodePage::Upper(AnsiString::Encode(Text).toStdString()))
{
}

bool TNameMatch::In(const QString &Name) const
{
    if (FText.isEmpty())
        return true;
    if (!FEncodable)
        return false;
    QByteArray bytes = AnsiString::Encode(Name);
    AnsiCodePage::UpperBuffer(bytes.data(), std::size_t(bytes.size()));
    return std::string_view(bytes.constData(), std::size_t(bytes.size())).find(FUpper) != std::string_view::npos;
}
