#include "platform/qt/AnsiString.h"

#include "platform/AnsiCodePage.h"

#include <QFile>

#include <algorithm>

namespace AnsiString {

QString Decode(const char *bytes, int length)
{
    // Sized once and written in place: names are decoded for every list
    // line, and appending character by character is several times slower.
    QString text(std::max(length, 0), Qt::Uninitialized);
    QChar *out = text.data();
    for (int i = 0; i < length; ++i)
        out[i] = QChar(static_cast<char16_t>(AnsiCodePage::ToUnicode(static_cast<unsigned char>(bytes[i]))));
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

// The Windows platform layer takes UTF-8 paths and hands them to the wide
// calls; the system's own 8-bit encoding there is the ANSI code page, which
// cannot name every folder.
std::string ToPath(const QString &path)
{
#ifdef _WIN32
    return path.toStdString();
#else
    return QFile::encodeName(path).toStdString();
#endif
}

QString FromPath(const std::string &path)
{
#ifdef _WIN32
    return QString::fromStdString(path);
#else
    return QFile::decodeName(QByteArray::fromStdString(path));
#endif
}

QString FromMessage(const char *message)
{
    return QString::fromUtf8(message);
}

} // namespace AnsiString
