#include "platform/qt/AnsiString.h"

#include "platform/AnsiCodePage.h"

#include <QFile>

namespace AnsiString {

QString Decode(const char *bytes, int length)
{
    QString text;
    text.reserve(length);
    for (int i = 0; i < length; ++i) {
        const char32_t cp = AnsiCodePage::ToUnicode(static_cast<unsigned char>(bytes[i]));
        text.append(QChar(static_cast<char16_t>(cp)));
    }
    return text;
}

QString Decode(const QByteArray &bytes)
{
    return Decode(bytes.constData(), static_cast<int>(bytes.size()));
}

QByteArray Encode(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const char32_t cp : text.toUcs4())
        bytes.append(static_cast<char>(AnsiCodePage::FromUnicode(cp)));
    return bytes;
}

bool CanEncode(const QString &text)
{
    for (const char32_t cp : text.toUcs4()) {
        if (!AnsiCodePage::CanEncode(cp))
            return false;
    }
    return true;
}

std::string ToPath(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

QString FromPath(const std::string &path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

QString FromMessage(const char *message)
{
    return QString::fromUtf8(message);
}

} // namespace AnsiString
