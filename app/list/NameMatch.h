#pragma once

#include <QString>

#include <string>

// "The name contains this text", with letters compared as the store's Find
// compares them: both upper-cased by the code page's rules. A text the code
// page cannot write is in no name; the empty text is in every name.
class TNameMatch
{
public:
    explicit TNameMatch(const QString &Text = QString());

    bool IsEmpty() const { return FText.isEmpty(); }
    const QString &Text() const { return FText; }
    bool In(const QString &Name) const;

private:
    QString FText;
    bool FEncodable = true;
    std::string FUpper;
};
