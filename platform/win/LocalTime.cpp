#include "platform/LocalTime.h"

#include <windows.h>

namespace LocalTime {

namespace {

// One of the locale's settings as the ANSI code page's bytes; empty when
// the locale has none.
std::string LocaleText(LCID locale, LCTYPE item)
{
    char buffer[100] = {};
    const int length = ::GetLocaleInfoA(locale, item, buffer, sizeof buffer);
    return length > 1 ? std::string(buffer, static_cast<std::size_t>(length - 1)) : std::string();
}

} // namespace

TimeOfDay Now()
{
    SYSTEMTIME now {};
    ::GetLocalTime(&now);
    return TimeOfDay{now.wHour, now.wMinute, now.wSecond};
}

TimeSettings UserTimeSettings()
{
    // The locale's numeric settings are "0" or "1": ITLZERO asks for hours
    // with a leading zero, ITIME "0" is the 12-hour clock, ITIMEMARKPOSN
    // "1" puts the designator before the time.
    const LCID locale = ::GetThreadLocale();
    TimeSettings settings;
    settings.LeadingZero = LocaleText(locale, LOCALE_ITLZERO) == "1";
    settings.TwelveHour = LocaleText(locale, LOCALE_ITIME) == "0";
    settings.DesignatorFirst = LocaleText(locale, LOCALE_ITIMEMARKPOSN) == "1";
    const std::string am = LocaleText(locale, LOCALE_S1159);
    const std::string pm = LocaleText(locale, LOCALE_S2359);
    const std::string separator = LocaleText(locale, LOCALE_STIME);
    if (!am.empty())
        settings.AmDesignator = am;
    if (!pm.empty())
        settings.PmDesignator = pm;
    if (!separator.empty())
        settings.Separator = separator;
    return settings;
}

} // namespace LocalTime
