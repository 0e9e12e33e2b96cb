#include "common/gtest.h"

#include "rtl/DateUtils.h"
#include "rtl/SysUtils.h"

#include <cmath>
#include <limits>

namespace {

struct DateCase {
  Word y, m, d;
  double serial;
  Word dayOfWeek;  // 1 = Sunday
};

TEST(DateEncode, SerialNumbersAroundTheEpochAndLeapYears) {
  const DateCase cases[] = {
      {1899, 12, 30, 0, 7},      {1899, 12, 31, 1, 1},       {1900, 1, 1, 2, 2},        {1900, 2, 28, 60, 4},
      {1900, 3, 1, 61, 5},       {1899, 12, 29, -1, 6},      {1970, 1, 1, 25569, 5},    {2000, 2, 29, 36585, 3},
      {2024, 2, 29, 45351, 5},   {2024, 2, 9, 45331, 6},     {1601, 1, 1, -109205, 2},  {1, 1, 1, -693593, 2},
      {9999, 12, 31, 2958465, 6},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.y << "-" << c.m << "-" << c.d);
    EXPECT_EQ(EncodeDate(c.y, c.m, c.d), c.serial);
    Word y = 0, m = 0, d = 0;
    DecodeDate(c.serial, y, m, d);
    EXPECT_EQ(y, c.y);
    EXPECT_EQ(m, c.m);
    EXPECT_EQ(d, c.d);
    EXPECT_EQ(DayOfWeek(c.serial), c.dayOfWeek);
    // 18:00 of the same day (before the epoch the time is subtracted).
    EXPECT_EQ(DayOfWeek(c.serial < 0 ? c.serial - 0.75 : c.serial + 0.75), c.dayOfWeek);
  }
}

TEST(DateEncode, InvalidDatesRaiseOrFail) {
  const Word invalid[][3] = {{1900, 2, 29}, {2023, 2, 29}, {2100, 2, 29}, {0, 1, 1},  {10000, 1, 1},
                             {2024, 13, 1}, {2024, 0, 1},  {2024, 4, 31}, {2024, 1, 0}, {2024, 1, 32}};
  for (const auto& c : invalid) {
    SCOPED_TRACE(testing::Message() << c[0] << "-" << c[1] << "-" << c[2]);
    TDateTime v = 123;
    EXPECT_FALSE(TryEncodeDate(c[0], c[1], c[2], v));
    EXPECT_EQ(v, 123);
    EXPECT_THROW(EncodeDate(c[0], c[1], c[2]), EConvertError);
  }
  try {
    EncodeDate(2023, 2, 29);
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), u"Invalid argument to date encode");
  }
  EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 0, 60, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 0, 0, 1000), EConvertError);
}

TEST(DateEncode, EveryDayOfTheRangeRoundTrips) {
  // Walks 0001-01-01 .. 9999-12-31 and checks the calendar advances by one day each step.
  Word py = 1, pm = 1, pd = 1;
  for (double serial = MinDateTime + 1; serial <= 2958465; serial += 1) {
    Word y, m, d;
    DecodeDate(serial, y, m, d);
    bool nextDay = (y == py && m == pm && d == pd + 1) || (y == py && m == pm + 1 && d == 1 && pd == DaysInAMonth(py, pm)) ||
                   (y == py + 1 && m == 1 && d == 1 && pm == 12 && pd == 31);
    if (!nextDay) {
      ADD_FAILURE() << "after " << py << "-" << pm << "-" << pd << " came " << y << "-" << m << "-" << d;
      return;
    }
    TDateTime back = 0;
    ASSERT_TRUE(TryEncodeDate(y, m, d, back));
    ASSERT_EQ(back, serial);
    py = y, pm = m, pd = d;
  }
  EXPECT_EQ(py, 9999);
}

TEST(DateEncode, OutOfRangeAndNaNDecodeAsZero) {
  Word y = 1, m = 1, d = 1;
  DecodeDate(std::numeric_limits<double>::quiet_NaN(), y, m, d);
  EXPECT_EQ(y + m + d, 0);
  DecodeDate(MinDateTime - 1, y, m, d);
  EXPECT_EQ(y + m + d, 0);
  DecodeDate(3e6, y, m, d);
  EXPECT_EQ(y + m + d, 0);
  DecodeDate(1e300, y, m, d);
  EXPECT_EQ(y + m + d, 0);
  EXPECT_EQ(DayOfWeek(1e300), 0);
}

TEST(DateCalendar, LeapYearsAndMonthLengths) {
  struct { Word y; bool leap; } years[] = {{1600, true}, {1900, false}, {2000, true}, {2023, false}, {2024, true}, {2100, false}};
  for (const auto& c : years) EXPECT_EQ(IsLeapYear(c.y), c.leap) << c.y;
  EXPECT_EQ(DaysInAMonth(2024, 2), 29);
  EXPECT_EQ(DaysInAMonth(2023, 2), 28);
  EXPECT_EQ(DaysInAMonth(1900, 2), 28);
  EXPECT_EQ(DaysInAMonth(2024, 4), 30);
  EXPECT_EQ(DaysInAMonth(2024, 12), 31);
  EXPECT_EQ(DaysInAMonth(2024, 13), 0);
  EXPECT_EQ(DaysInMonth(EncodeDate(2000, 2, 10)), 29);
}

TEST(DateTime, EncodeDecodeTimeAndTheNegativeFraction) {
  TDateTime t = EncodeTime(13, 5, 9, 123);
  Word h, n, s, z;
  DecodeTime(t, h, n, s, z);
  EXPECT_EQ(h, 13);
  EXPECT_EQ(n, 5);
  EXPECT_EQ(s, 9);
  EXPECT_EQ(z, 123);
  // Before the epoch the time of day is the absolute value of the fraction.
  TDateTime v = 0;
  ASSERT_TRUE(TryEncodeDateTime(1899, 12, 29, 6, 0, 0, 0, v));
  EXPECT_EQ(v, -1.25);
  Word y, m, d;
  DecodeDate(-1.25, y, m, d);
  DecodeTime(-1.25, h, n, s, z);
  EXPECT_EQ(y, 1899);
  EXPECT_EQ(m, 12);
  EXPECT_EQ(d, 29);
  EXPECT_EQ(h, 6);
  EXPECT_EQ(n, 0);
  // 23:59:59.9996 rounds to the next midnight, date included.
  TDateTime late = EncodeDate(2024, 1, 1) + (MSecsPerDay - 0.4) / static_cast<double>(MSecsPerDay);
  DecodeDate(late, y, m, d);
  DecodeTime(late, h, n, s, z);
  EXPECT_EQ(d, 2);
  EXPECT_EQ(h + n + s + z, 0);
}

TEST(DateFormat, FormatLetters) {
  const TDateTime dt = EncodeDate(2024, 2, 9) + EncodeTime(13, 5, 7, 45);  // a Friday
  const TDateTime midnight = EncodeDate(2024, 2, 9);
  const TDateTime early = EncodeDate(2024, 2, 9) + EncodeTime(0, 30, 0, 0);
  const TDateTime noon = EncodeDate(2024, 2, 9) + EncodeTime(12, 30, 0, 0);
  struct { const char16_t* fmt; TDateTime value; const char16_t* want; } cases[] = {
      {u"yyyy-mm-dd hh:nn:ss.zzz", dt, u"2024-02-09 13:05:07.045"},
      {u"yy/m/d", dt, u"24/2/9"},
      {u"y", dt, u"24"},
      {u"yyy", dt, u"2024"},
      {u"mmm mmmm", dt, u"Feb February"},
      {u"MMM DDD", dt, u"Feb Fri"},
      {u"ddd dddd", dt, u"Fri Friday"},
      {u"d/m/yyyy", dt, u"9/2/2024"},
      {u"h:m", dt, u"13:5"},     // m right after h is the minute
      {u"hh:mm", dt, u"13:05"},
      {u"mm", dt, u"02"},        // alone it is the month
      {u"h:nn 'at' mm", dt, u"13:05 at 02"},
      {u"h:nn am/pm", dt, u"1:05 pm"},
      {u"hh:nn AM/PM", dt, u"01:05 PM"},
      {u"h a/p", dt, u"1 p"},
      {u"h ampm", dt, u"1 PM"},
      {u"h am/pm", early, u"12 am"},
      {u"h am/pm", noon, u"12 pm"},
      {u"h am/pm h", early, u"12 am 12"},  // once on the 12-hour clock, it stays there
      {u"am/pm h", early, u"am 12"},
      {u"s z", dt, u"7 45"},
      {u"ss zzz", EncodeTime(0, 0, 3, 7), u"03 007"},
      {u"'yyyy' \"mm\" yyyy", dt, u"yyyy mm 2024"},
      {u"'open", dt, u"open"},
      {u"c", dt, u"2024/2/9 13:05:07"},
      {u"c", midnight, u"2024/2/9"},
      {u"ddddd", dt, u"2024/2/9"},
      {u"dddddd", dt, u"Friday, February 9, 2024"},
      {u"t", dt, u"13:05"},
      {u"tt", dt, u"13:05:07"},
      {u"x! #", dt, u"x! #"},
      {u"", dt, u"2024/2/9 13:05:07"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatDateTime(c.fmt, c.value), c.want) << "format " << UTF8Encode(c.fmt);
  EXPECT_EQ(DateTimeToStr(dt), u"2024/2/9 13:05:07");
  EXPECT_EQ(DateTimeToStr(-1.25), u"1899/12/29 6:00:00");
}

TEST(DateClocks, UnixAndFileTimeCounts) {
  const TDateTime dt = EncodeDate(2024, 2, 9) + EncodeTime(13, 5, 7, 0);
  EXPECT_EQ(DateTimeToUnix(EncodeDate(1970, 1, 1)), 0);
  EXPECT_EQ(DateTimeToUnix(dt), 1707483907);
  EXPECT_EQ(FormatDateTime(u"yyyy-mm-dd hh:nn:ss", UnixToDateTime(1707483907)), u"2024-02-09 13:05:07");
  EXPECT_EQ(UnixToDateTime(-86400), 25568);
  EXPECT_EQ(DateTimeToUnix(std::numeric_limits<double>::quiet_NaN()), 0);

  EXPECT_EQ(DateTimeToFileTime(EncodeDate(1601, 1, 1)), 0);
  EXPECT_EQ(DateTimeToFileTime(EncodeDate(1970, 1, 1)), 116444736000000000LL);
  EXPECT_EQ(FileTimeToDateTime(116444736000000000LL), 25569);
  const TDateTime withMs = dt + EncodeTime(0, 0, 0, 321);
  EXPECT_EQ(FormatDateTime(u"yyyy-mm-dd hh:nn:ss.zzz", FileTimeToDateTime(DateTimeToFileTime(withMs))),
            u"2024-02-09 13:05:07.321");
  EXPECT_EQ(FileTimeToDateTime(DateTimeToFileTime(-1.25)), -1.25);
  EXPECT_EQ(DateTimeToFileTime(EncodeDate(1600, 12, 31)), 0);
}

TEST(DateClocks, NowDateAndTimeAgree) {
  TDateTime before = Now();
  TDateTime today = Date();
  TDateTime time = Time();
  TDateTime after = Now();
  EXPECT_LE(before, after);
  EXPECT_GE(time, 0);
  EXPECT_LT(time, 1);
  EXPECT_EQ(today, std::trunc(today));
  // Unless the test runs across midnight, today's date is the date of Now.
  if (std::trunc(before) == std::trunc(after)) {
    EXPECT_EQ(today, std::trunc(before));
  }
  Word y, m, d;
  DecodeDate(before, y, m, d);
  EXPECT_GE(y, 2020);
}

}  // namespace
