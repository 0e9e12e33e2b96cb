// Date and time with the class library's semantics. A TDateTime is a Double:
// the whole part counts days since 1899-12-30 (negative before it), the
// fraction is the time of day (for negative values the time is the absolute
// value of the fraction: -1.25 is 1899-12-29 06:00).
//
// Formatting uses fixed settings, whatever the user's locale: English month
// and day names, "/" as the date and ":" as the time separator, short date
// "yyyy/m/d", long date "dddd, mmmm d, yyyy", short time "h:nn", long time
// "h:nn:ss", "AM"/"PM".
//
// Portable: no Windows header.
#pragma once

#include "rtl/System.h"

inline constexpr double HoursPerDay = 24;
inline constexpr double MinsPerDay = 24 * 60;
inline constexpr double SecsPerDay = 24 * 60 * 60;
inline constexpr Int64 MSecsPerDay = 24LL * 60 * 60 * 1000;
// 1970-01-01 and 1601-01-01 as TDateTime.
inline constexpr double UnixDateDelta = 25569;
inline constexpr double FileTimeDateDelta = -109205;
// The first and last dates EncodeDate accepts: 0001-01-01 and 9999-12-31.
inline constexpr double MinDateTime = -693593;
inline constexpr double MaxDateTime = 2958465.99999999;

// ---- the clock (local time) -------------------------------------------------
TDateTime Now();   // date and time, with milliseconds
TDateTime Date();  // today at 00:00
TDateTime Time();  // time of day only (date part 0)

// ---- calendar ---------------------------------------------------------------
bool IsLeapYear(Word Year);
// Days of Month (1..12) in Year; 0 for a month outside 1..12.
Word DaysInAMonth(Word Year, Word Month);
// Days of the month of ADate.
Word DaysInMonth(TDateTime ADate);
// 1 = Sunday .. 7 = Saturday.
Word DayOfWeek(TDateTime ADate);

// Year 1..9999, Month 1..12, Day 1..days in that month; otherwise
// EncodeDate raises EConvertError "Invalid argument to date encode" and
// TryEncodeDate returns False (leaving Value unchanged).
TDateTime EncodeDate(Word Year, Word Month, Word Day);
bool TryEncodeDate(Word Year, Word Month, Word Day, TDateTime& Value);
// Hour < 24, Min < 60, Sec < 60, MSec < 1000; otherwise EConvertError
// "Invalid argument to time encode" / False.
TDateTime EncodeTime(Word Hour, Word Min, Word Sec, Word MSec);
bool TryEncodeTime(Word Hour, Word Min, Word Sec, Word MSec, TDateTime& Value);

// The value is first rounded to whole milliseconds (so 23:59:59.9999 is the
// next day). Dates outside 0001-01-01 .. 9999-12-31 and NaN decode as 0/0/0.
void DecodeDate(TDateTime ADate, Word& Year, Word& Month, Word& Day);
void DecodeTime(TDateTime ATime, Word& Hour, Word& Min, Word& Sec, Word& MSec);

// ---- text -------------------------------------------------------------------

// Format letters (case-insensitive): d dd ddd dddd ddddd (short date) dddddd
// (long date); m mm mmm mmmm (minutes instead of month right after an h or
// hh token); y yy (two digits) yyy yyyy (four); h hh (12-hour clock when an
// am/pm token follows before the next h); n nn; s ss; z (no padding) zzz;
// t (short time) tt (long time); c (short date, then the long time when the
// time is not 00:00:00.000); am/pm a/p (written in the format's case), ampm
// (AM/PM); / and :; 'text' and "text" copied as they stand. Any other
// character is copied.
String FormatDateTime(const String& Format, TDateTime DateTime);
// FormatDateTime("c"): "2024/2/29 13:05:09", or just the date at midnight.
String DateTimeToStr(TDateTime DateTime);

// ---- other clocks -----------------------------------------------------------

// Seconds since 1970-01-01 00:00, taking the date-time as UTC (no zone
// conversion). DateTimeToUnix rounds to whole seconds (NaN gives 0, and the
// result saturates outside Int64).
Int64 DateTimeToUnix(TDateTime AValue);
TDateTime UnixToDateTime(Int64 AValue);

// A FILETIME-style count: 100-nanosecond intervals since 1601-01-01 00:00.
// No zone conversion. The date-time is taken to whole milliseconds; values
// before 1601 give 0.
Int64 DateTimeToFileTime(TDateTime AValue);
TDateTime FileTimeToDateTime(Int64 AFileTime);

// The date-time of a broken-down calendar value (no validation beyond
// EncodeDate/EncodeTime's; used by the platform seams).
bool TryEncodeDateTime(Word Year, Word Month, Word Day, Word Hour, Word Min, Word Sec, Word MSec,
                       TDateTime& Value);
