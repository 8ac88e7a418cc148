#pragma once

#include <string>

// The local time of day and the user's way of writing it.
namespace LocalTime {

struct TimeOfDay
{
    int Hour = 0; // 0 to 23
    int Minute = 0;
    int Second = 0;
};

// The current local time of day.
TimeOfDay Now();

// The facts of a locale that the long time format is built from. Texts are
// Windows-1252 bytes.
struct TimeSettings
{
    bool LeadingZero = true;      // the hour always has two digits
    bool TwelveHour = false;      // hours 1 to 12 with a designator
    bool DesignatorFirst = false; // the designator stands before the hour
    std::string AmDesignator = "am";
    std::string PmDesignator = "pm";
    std::string Separator = ":";
};

// Derives the facts from a locale's strftime-style time formats (T_FMT and
// T_FMT_AMPM; "%r" in the first stands for the second) and its morning and
// afternoon strings, all in the locale's own encoding, named by codeset.
// Empty designators become "am" and "pm".
TimeSettings SettingsFromLocaleFacts(const std::string &timeFormat,
                                     const std::string &twelveHourFormat,
                                     const std::string &amString,
                                     const std::string &pmString,
                                     const std::string &codeset);

// The facts of the user's LC_TIME locale (LC_ALL, then LC_TIME, then LANG);
// those of the "C" locale when that locale cannot be loaded. On Windows the
// settings of the thread's locale (GetLocaleInfoA), whose texts are in the
// ANSI code page.
TimeSettings UserTimeSettings();

// The time of day in the long time format: hour, minutes and seconds joined
// by the separator, minutes and seconds always with two digits, and with a
// 12-hour clock the designator after the seconds or before the hour,
// separated by a blank.
std::string FormatLongTime(const TimeSettings &settings, const TimeOfDay &time);

} // namespace LocalTime
