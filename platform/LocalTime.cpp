#include "platform/LocalTime.h"

#include "platform/AnsiCodePage.h"

#include <cctype>
#include <cstdlib>
#include <ctime>
#include <cstring>
#include <vector>

// The clock and the user's locale are the system's; the Windows build takes
// them from its own calls (win/LocalTime.cpp) and shares the rest.
#ifndef _WIN32
#include <langinfo.h>
#include <locale.h>
#endif

namespace LocalTime {

namespace {

// One piece of a strftime-style format: a conversion such as %H, or a run
// of literal text (Conversion 0).
struct FormatPiece
{
    char Conversion = 0;
    char Flag = 0; // glibc's padding flag: '-', '_', '0' or 0 for none
    std::string Literal;
};

// A format can name another one (%r names T_FMT_AMPM, which could name %r
// again); deeper nesting than this is ignored rather than followed forever.
constexpr int MaxFormatNesting = 3;

// Windows allows at most three characters for a time separator.
constexpr std::size_t MaxSeparatorLength = 3;

void AddLiteral(std::vector<FormatPiece> &pieces, char c)
{
    if (pieces.empty() || pieces.back().Conversion != 0)
        pieces.push_back(FormatPiece{});
    pieces.back().Literal += c;
}

bool IsFlag(char c)
{
    return c == '-' || c == '_' || c == '0' || c == '^' || c == '#';
}

void SplitFormat(const std::string &format, const std::string &twelveHourFormat, int depth,
                 std::vector<FormatPiece> &pieces)
{
    if (depth > MaxFormatNesting)
        return;
    std::size_t i = 0;
    while (i < format.size()) {
        if (format[i] != '%') {
            AddLiteral(pieces, format[i++]);
            continue;
        }
        ++i;
        char flag = 0;
        while (i < format.size() && IsFlag(format[i]))
            flag = format[i++];
        while (i < format.size() && std::isdigit(static_cast<unsigned char>(format[i])))
            ++i;
        if (i < format.size() && (format[i] == 'E' || format[i] == 'O'))
            ++i;
        if (i >= format.size())
            break;
        const char conversion = format[i++];
        switch (conversion) {
        case '%':
            AddLiteral(pieces, '%');
            break;
        case 'T':
        case 'X':
            SplitFormat("%H:%M:%S", twelveHourFormat, depth + 1, pieces);
            break;
        case 'R':
            SplitFormat("%H:%M", twelveHourFormat, depth + 1, pieces);
            break;
        case 'r':
            SplitFormat(twelveHourFormat.empty() ? std::string("%I:%M:%S %p") : twelveHourFormat,
                        twelveHourFormat, depth + 1, pieces);
            break;
        default:
            pieces.push_back(FormatPiece{conversion, flag, {}});
            break;
        }
    }
}

std::size_t FindConversion(const std::vector<FormatPiece> &pieces, const char *conversions)
{
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (pieces[i].Conversion != 0 && std::strchr(conversions, pieces[i].Conversion))
            return i;
    }
    return pieces.size();
}

bool HourHasLeadingZero(const FormatPiece &hour)
{
    // %H and %I pad with zeros unless told otherwise; %k and %l pad with
    // blanks, which reads as no leading zero, unless told to use zeros.
    if (hour.Conversion == 'H' || hour.Conversion == 'I')
        return hour.Flag != '-' && hour.Flag != '_';
    return hour.Flag == '0';
}

// A separator is a short run of punctuation. Text between hour and minutes
// that holds letters, digits or non-ASCII characters is a unit word ("h",
// or the hour sign of an East Asian locale) and gives no separator.
bool IsSeparator(const std::string &text)
{
    if (text.empty() || text.size() > MaxSeparatorLength)
        return false;
    bool punctuation = false;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 || !(std::ispunct(byte) || byte == ' '))
            return false;
        punctuation = punctuation || std::ispunct(byte);
    }
    return punctuation;
}

std::string SeparatorAfter(const std::vector<FormatPiece> &pieces, std::size_t hour)
{
    if (hour + 2 < pieces.size() && pieces[hour + 1].Conversion == 0
        && pieces[hour + 2].Conversion == 'M' && IsSeparator(pieces[hour + 1].Literal))
        return pieces[hour + 1].Literal;
    return ":";
}

bool IsUtf8(const std::string &codeset)
{
    std::string name;
    for (const char c : codeset) {
        if (c != '-' && c != '_')
            name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return name == "utf8";
}

// Decodes one UTF-8 sequence at bytes[i]; returns its length, or 0 when the
// bytes there are no valid sequence.
std::size_t DecodeUtf8(const std::string &bytes, std::size_t i, char32_t &codePoint)
{
    const auto lead = static_cast<unsigned char>(bytes[i]);
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2, codePoint = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, codePoint = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, codePoint = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (bytes.size() - i < length)
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(bytes[i + k]);
        if ((next & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    return codePoint < minimum ? 0 : length;
}

// Locale texts arrive in the locale's codeset; the log is Windows-1252.
// UTF-8 is decoded; of any other codeset only ASCII is trusted, and every
// character that cannot be carried over becomes '?'.
std::string ToAnsi(const std::string &bytes, const std::string &codeset)
{
    const bool utf8 = IsUtf8(codeset);
    std::string ansi;
    std::size_t i = 0;
    while (i < bytes.size()) {
        char32_t codePoint = 0;
        std::size_t length = utf8 ? DecodeUtf8(bytes, i, codePoint) : 1;
        if (!utf8)
            codePoint = static_cast<unsigned char>(bytes[i]);
        if (length == 0 || (!utf8 && codePoint >= 0x80)) {
            ansi += '?';
            length = 1;
        } else {
            ansi += static_cast<char>(AnsiCodePage::FromUnicode(codePoint));
        }
        i += length;
    }
    return ansi;
}

std::string LowerAscii(std::string text)
{
    for (char &c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

#ifndef _WIN32
std::string TimeLocaleName()
{
    for (const char *variable : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char *value = std::getenv(variable);
        if (value && *value)
            return value;
    }
    return "C";
}
#endif

std::string TwoDigits(int value)
{
    return std::string(1, static_cast<char>('0' + value / 10 % 10))
           + static_cast<char>('0' + value % 10);
}

} // namespace

#ifndef _WIN32
TimeOfDay Now()
{
    const std::time_t now = std::time(nullptr);
    std::tm parts {};
    ::localtime_r(&now, &parts);
    return TimeOfDay{parts.tm_hour, parts.tm_min, parts.tm_sec};
}
#endif

TimeSettings SettingsFromLocaleFacts(const std::string &timeFormat,
                                     const std::string &twelveHourFormat,
                                     const std::string &amString,
                                     const std::string &pmString,
                                     const std::string &codeset)
{
    std::vector<FormatPiece> pieces;
    SplitFormat(timeFormat, twelveHourFormat, 0, pieces);

    TimeSettings settings;
    if (!amString.empty())
        settings.AmDesignator = ToAnsi(amString, codeset);
    if (!pmString.empty())
        settings.PmDesignator = ToAnsi(pmString, codeset);

    const std::size_t hour = FindConversion(pieces, "HIkl");
    if (hour == pieces.size())
        return settings;
    const char clock = pieces[hour].Conversion;
    settings.TwelveHour = clock == 'I' || clock == 'l';
    settings.LeadingZero = HourHasLeadingZero(pieces[hour]);
    settings.Separator = SeparatorAfter(pieces, hour);

    const std::size_t designator = FindConversion(pieces, "pP");
    settings.DesignatorFirst = designator < hour;
    if (designator < pieces.size() && pieces[designator].Conversion == 'P') {
        settings.AmDesignator = LowerAscii(settings.AmDesignator);
        settings.PmDesignator = LowerAscii(settings.PmDesignator);
    }
    return settings;
}

#ifndef _WIN32
TimeSettings UserTimeSettings()
{
    constexpr int categories = LC_TIME_MASK | LC_CTYPE_MASK;
    locale_t locale = ::newlocale(categories, TimeLocaleName().c_str(), locale_t(nullptr));
    if (locale == locale_t(nullptr))
        locale = ::newlocale(categories, "C", locale_t(nullptr));
    if (locale == locale_t(nullptr))
        return TimeSettings{};
    // The strings belong to the locale object, so copy them before it goes.
    const std::string timeFormat = ::nl_langinfo_l(T_FMT, locale);
    const std::string twelveHourFormat = ::nl_langinfo_l(T_FMT_AMPM, locale);
    const std::string amString = ::nl_langinfo_l(AM_STR, locale);
    const std::string pmString = ::nl_langinfo_l(PM_STR, locale);
    const std::string codeset = ::nl_langinfo_l(CODESET, locale);
    ::freelocale(locale);
    return SettingsFromLocaleFacts(timeFormat, twelveHourFormat, amString, pmString, codeset);
}
#endif

std::string FormatLongTime(const TimeSettings &settings, const TimeOfDay &time)
{
    int hour = time.Hour;
    if (settings.TwelveHour) {
        hour %= 12;
        if (hour == 0)
            hour = 12;
    }
    std::string text = settings.LeadingZero || hour >= 10 ? TwoDigits(hour) : std::to_string(hour);
    text += settings.Separator + TwoDigits(time.Minute) + settings.Separator + TwoDigits(time.Second);
    if (!settings.TwelveHour)
        return text;
    const std::string &designator = time.Hour < 12 ? settings.AmDesignator : settings.PmDesignator;
    return settings.DesignatorFirst ? designator + ' ' + text : text + ' ' + designator;
}

} // namespace LocalTime
