#include "rtl/DateUtils.h"

#include "rtl/Math.h"
#include "rtl/SysUtils.h"

#include <chrono>
#include <cmath>
#include <ctime>

namespace {

constexpr const char16_t* kShortMonthNames[12] = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                                                  u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
constexpr const char16_t* kLongMonthNames[12] = {u"January", u"February", u"March",     u"April",
                                                 u"May",     u"June",     u"July",      u"August",
                                                 u"September", u"October", u"November", u"December"};
constexpr const char16_t* kShortDayNames[7] = {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
constexpr const char16_t* kLongDayNames[7] = {u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                                              u"Thursday", u"Friday", u"Saturday"};
constexpr const char16_t* kShortDateFormat = u"yyyy/m/d";
constexpr const char16_t* kLongDateFormat = u"dddd, mmmm d, yyyy";
constexpr const char16_t* kShortTimeFormat = u"h:nn";
constexpr const char16_t* kLongTimeFormat = u"h:nn:ss";
constexpr const char16_t* kTimeAMString = u"AM";
constexpr const char16_t* kTimePMString = u"PM";

constexpr Word kDaysBeforeMonth[2][13] = {
    {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365},
    {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335, 366},
};

// 0001-01-01 is day 0 of this count; 1899-12-30 (TDateTime 0) is day 693593.
constexpr Int64 kDay0Of18991230 = 693593;
constexpr Int64 kLastDay = 3652058;  // 9999-12-31

// The value split into whole milliseconds: day number (days since 0001-01-01)
// and the milliseconds of the day. False for NaN and dates outside 1..9999.
bool SplitDateTime(TDateTime dt, Int64& day, Int64& msOfDay) {
  if (std::isnan(dt) || dt < MinDateTime - 1 || dt > MaxDateTime + 1) return false;
  Int64 ms = Round(dt * static_cast<double>(MSecsPerDay));
  Int64 days = ms / MSecsPerDay;  // toward zero, as the class library splits it
  msOfDay = ms % MSecsPerDay;
  if (msOfDay < 0) msOfDay = -msOfDay;
  day = days + kDay0Of18991230;
  return day >= 0 && day <= kLastDay;
}

void DayToCivil(Int64 n, Word& year, Word& month, Word& day) {
  Int64 n400 = n / 146097, r = n % 146097;
  Int64 n100 = r / 36524;
  if (n100 == 4) n100 = 3;
  r -= n100 * 36524;
  Int64 n4 = r / 1461;
  r %= 1461;
  Int64 n1 = r / 365;
  if (n1 == 4) n1 = 3;
  r -= n1 * 365;
  year = static_cast<Word>(n400 * 400 + n100 * 100 + n4 * 4 + n1 + 1);
  const Word* table = kDaysBeforeMonth[IsLeapYear(year) ? 1 : 0];
  Word m = 1;
  while (r >= table[m]) ++m;
  month = m;
  day = static_cast<Word>(r - table[m - 1] + 1);
}

void AppendNumber(String& out, unsigned value, int minDigits) {
  String digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
    value /= 10;
  } while (value != 0);
  while (static_cast<int>(digits.size()) < minDigits) digits.insert(digits.begin(), u'0');
  out += digits;
}

char16_t Upper(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }

// Case-insensitive (ASCII) match of pattern at fmt[i..].
bool MatchAt(const String& fmt, size_t i, std::u16string_view pattern) {
  if (fmt.size() - i < pattern.size()) return false;
  for (size_t k = 0; k < pattern.size(); ++k)
    if (Upper(fmt[i + k]) != pattern[k]) return false;
  return true;
}

struct Formatter {
  TDateTime dt;
  bool dateOk = false;
  Word year = 0, month = 0, day = 0, dow = 0;
  Word hour = 0, minute = 0, second = 0, msec = 0;
  String out;

  explicit Formatter(TDateTime value) : dt(value) {
    Int64 dayNo = 0, ms = 0;
    if (SplitDateTime(value, dayNo, ms)) {
      dateOk = true;
      DayToCivil(dayNo, year, month, day);
      dow = static_cast<Word>((dayNo + 1) % 7);  // day 0 (0001-01-01) was a Monday
      hour = static_cast<Word>(ms / 3600000);
      minute = static_cast<Word>(ms / 60000 % 60);
      second = static_cast<Word>(ms / 1000 % 60);
      msec = static_cast<Word>(ms % 1000);
    }
  }

  void Append(const String& fmt, int depth) {
    bool use12Hour = false;
    char16_t lastToken = u' ';
    size_t i = 0;
    while (i < fmt.size()) {
      char16_t starter = fmt[i];
      char16_t token = Upper(starter);
      if (token >= u'A' && token <= u'Z') {
        if (token == u'M' && lastToken == u'H') token = u'N';
        lastToken = token;
      }
      ++i;
      auto getCount = [&]() {
        int count = 1;
        while (i < fmt.size() && fmt[i] == starter) {
          ++i;
          ++count;
        }
        return count;
      };
      switch (token) {
        case u'Y': {
          int count = getCount();
          if (count <= 2) AppendNumber(out, year % 100, 2);
          else AppendNumber(out, year, 4);
          break;
        }
        case u'M': {
          int count = getCount();
          if (count <= 2) AppendNumber(out, month, count);
          else if (month >= 1 && month <= 12) out += count == 3 ? kShortMonthNames[month - 1] : kLongMonthNames[month - 1];
          break;
        }
        case u'D': {
          int count = getCount();
          if (count <= 2) AppendNumber(out, day, count);
          else if (count == 3) out += kShortDayNames[dow];
          else if (count == 4) out += kLongDayNames[dow];
          else if (depth < 2) Append(count == 5 ? kShortDateFormat : kLongDateFormat, depth + 1);
          break;
        }
        case u'H': {
          int count = getCount();
          // A 12-hour clock when an am/pm token follows before the next h.
          bool quoted = false;
          for (size_t p = i; p < fmt.size(); ++p) {
            char16_t c = fmt[p];
            if (c == u'\'' || c == u'"') quoted = !quoted;
            else if (!quoted && (c == u'a' || c == u'A')) {
              if (MatchAt(fmt, p, u"AM/PM") || MatchAt(fmt, p, u"A/P") || MatchAt(fmt, p, u"AMPM")) use12Hour = true;
              break;
            } else if (c == u'h' || c == u'H') break;
          }
          unsigned h = hour;
          if (use12Hour) h = h == 0 ? 12 : (h > 12 ? h - 12 : h);
          AppendNumber(out, h, count > 2 ? 2 : count);
          break;
        }
        case u'N': {
          int count = getCount();
          AppendNumber(out, minute, count > 2 ? 2 : count);
          break;
        }
        case u'S': {
          int count = getCount();
          AppendNumber(out, second, count > 2 ? 2 : count);
          break;
        }
        case u'Z': {
          int count = getCount();
          AppendNumber(out, msec, count > 1 ? 3 : 1);
          break;
        }
        case u'T': {
          int count = getCount();
          if (depth < 2) Append(count == 1 ? kShortTimeFormat : kLongTimeFormat, depth + 1);
          break;
        }
        case u'C': {
          getCount();
          if (depth < 2) {
            Append(kShortDateFormat, depth + 1);
            if (hour != 0 || minute != 0 || second != 0 || msec != 0) {
              out += u' ';
              Append(kLongTimeFormat, depth + 1);
            }
          }
          break;
        }
        case u'A': {
          size_t p = i - 1;
          if (MatchAt(fmt, p, u"AM/PM")) {
            out += fmt.substr(hour >= 12 ? p + 3 : p, 2);
            i = p + 5;
            use12Hour = true;
          } else if (MatchAt(fmt, p, u"A/P")) {
            out += fmt[hour >= 12 ? p + 2 : p];
            i = p + 3;
            use12Hour = true;
          } else if (MatchAt(fmt, p, u"AMPM")) {
            out += hour < 12 ? kTimeAMString : kTimePMString;
            i = p + 4;
            use12Hour = true;
          } else {
            out += starter;
          }
          break;
        }
        case u'/':
          out += u'/';
          break;
        case u':':
          out += u':';
          break;
        case u'\'':
        case u'"': {
          size_t start = i;
          while (i < fmt.size() && fmt[i] != starter) ++i;
          out += fmt.substr(start, i - start);
          if (i < fmt.size()) ++i;
          break;
        }
        default:
          out += starter;
          break;
      }
    }
  }
};

}  // namespace

// ---- the clock --------------------------------------------------------------

TDateTime Now() {
  using namespace std::chrono;
  auto now = system_clock::now();
  auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count();
  std::time_t secs = static_cast<std::time_t>(ms / 1000);
  if (ms % 1000 < 0) --secs;
  std::tm local{};
  localtime_r(&secs, &local);
  Word msec = static_cast<Word>(((ms % 1000) + 1000) % 1000);
  TDateTime value = 0;
  TryEncodeDateTime(static_cast<Word>(local.tm_year + 1900), static_cast<Word>(local.tm_mon + 1),
                    static_cast<Word>(local.tm_mday), static_cast<Word>(local.tm_hour),
                    static_cast<Word>(local.tm_min), static_cast<Word>(local.tm_sec > 59 ? 59 : local.tm_sec),
                    msec, value);
  return value;
}

TDateTime Date() { return std::trunc(Now()); }

TDateTime Time() {
  TDateTime n = Now();
  return n - std::trunc(n);
}

// ---- calendar ---------------------------------------------------------------

bool IsLeapYear(Word Year) { return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0); }

Word DaysInAMonth(Word Year, Word Month) {
  if (Month < 1 || Month > 12) return 0;
  const Word* table = kDaysBeforeMonth[IsLeapYear(Year) ? 1 : 0];
  return static_cast<Word>(table[Month] - table[Month - 1]);
}

Word DaysInMonth(TDateTime ADate) {
  Word y, m, d;
  DecodeDate(ADate, y, m, d);
  return DaysInAMonth(y, m);
}

Word DayOfWeek(TDateTime ADate) {
  Int64 day = 0, ms = 0;
  if (!SplitDateTime(ADate, day, ms)) return 0;
  return static_cast<Word>((day + 1) % 7 + 1);
}

bool TryEncodeDate(Word Year, Word Month, Word Day, TDateTime& Value) {
  if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 || Day > DaysInAMonth(Year, Month))
    return false;
  Int64 y = Year - 1;
  Int64 n = y * 365 + y / 4 - y / 100 + y / 400 + kDaysBeforeMonth[IsLeapYear(Year) ? 1 : 0][Month - 1] + Day - 1;
  Value = static_cast<double>(n - kDay0Of18991230);
  return true;
}

TDateTime EncodeDate(Word Year, Word Month, Word Day) {
  TDateTime v = 0;
  if (!TryEncodeDate(Year, Month, Day, v)) throw EConvertError(u"Invalid argument to date encode");
  return v;
}

bool TryEncodeTime(Word Hour, Word Min, Word Sec, Word MSec, TDateTime& Value) {
  if (Hour >= 24 || Min >= 60 || Sec >= 60 || MSec >= 1000) return false;
  Value = (Hour * 3600000.0 + Min * 60000.0 + Sec * 1000.0 + MSec) / static_cast<double>(MSecsPerDay);
  return true;
}

TDateTime EncodeTime(Word Hour, Word Min, Word Sec, Word MSec) {
  TDateTime v = 0;
  if (!TryEncodeTime(Hour, Min, Sec, MSec, v)) throw EConvertError(u"Invalid argument to time encode");
  return v;
}

bool TryEncodeDateTime(Word Year, Word Month, Word Day, Word Hour, Word Min, Word Sec, Word MSec,
                       TDateTime& Value) {
  TDateTime d = 0, t = 0;
  if (!TryEncodeDate(Year, Month, Day, d) || !TryEncodeTime(Hour, Min, Sec, MSec, t)) return false;
  // Before 1899-12-30 the time is the absolute value of the fraction.
  Value = d < 0 ? d - t : d + t;
  return true;
}

void DecodeDate(TDateTime ADate, Word& Year, Word& Month, Word& Day) {
  Int64 day = 0, ms = 0;
  if (!SplitDateTime(ADate, day, ms)) {
    Year = Month = Day = 0;
    return;
  }
  DayToCivil(day, Year, Month, Day);
}

void DecodeTime(TDateTime ATime, Word& Hour, Word& Min, Word& Sec, Word& MSec) {
  Int64 day = 0, ms = 0;
  if (!SplitDateTime(ATime, day, ms)) {
    // Outside the date range only the time of day is still meaningful.
    ms = 0;
    if (std::isfinite(ATime)) {
      double frac = std::fabs(ATime - std::trunc(ATime));
      ms = Round(frac * static_cast<double>(MSecsPerDay)) % MSecsPerDay;
    }
  }
  Hour = static_cast<Word>(ms / 3600000);
  Min = static_cast<Word>(ms / 60000 % 60);
  Sec = static_cast<Word>(ms / 1000 % 60);
  MSec = static_cast<Word>(ms % 1000);
}

// ---- text -------------------------------------------------------------------

String FormatDateTime(const String& Format, TDateTime DateTime) {
  Formatter f(DateTime);
  f.Append(Format.empty() ? String(u"c") : Format, 0);
  return f.out;
}

String DateTimeToStr(TDateTime DateTime) { return FormatDateTime(u"c", DateTime); }

// ---- other clocks -----------------------------------------------------------

namespace {

// A date-time as a linear count of days (before 1899-12-30 the fraction of a
// TDateTime counts forward from its day: -1.25 is day -1 plus 0.25).
double ToLinearDays(TDateTime v) {
  if (!(v < 0)) return v;
  double whole = std::trunc(v);
  return whole - (v - whole);
}

TDateTime FromLinearDays(double days) {
  if (!(days < 0)) return days;
  double whole = std::floor(days);
  double time = days - whole;
  return whole - time;
}

}  // namespace

Int64 DateTimeToUnix(TDateTime AValue) { return Round((ToLinearDays(AValue) - UnixDateDelta) * SecsPerDay); }

TDateTime UnixToDateTime(Int64 AValue) {
  return FromLinearDays(UnixDateDelta + static_cast<double>(AValue) / SecsPerDay);
}

Int64 DateTimeToFileTime(TDateTime AValue) {
  // Whole milliseconds since 1601-01-01, then 100 ns units (both exact in Int64
  // for every date up to 9999).
  double days = ToLinearDays(AValue);
  if (std::isnan(days) || days < FileTimeDateDelta) return 0;
  if (days > MaxDateTime + 1) days = MaxDateTime + 1;
  Int64 ms = Round((days - FileTimeDateDelta) * static_cast<double>(MSecsPerDay));
  return ms * 10000;
}

TDateTime FileTimeToDateTime(Int64 AFileTime) {
  if (AFileTime < 0) AFileTime = 0;
  Int64 days = AFileTime / (MSecsPerDay * 10000);
  Int64 rest = AFileTime % (MSecsPerDay * 10000);
  return FromLinearDays(FileTimeDateDelta + static_cast<double>(days) +
                        static_cast<double>(rest) / static_cast<double>(MSecsPerDay * 10000));
}
