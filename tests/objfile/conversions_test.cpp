#include "objfile/conversions.h"

#include <gtest/gtest.h>

#include "base/calendar.h"
#include "base/errors.h"

namespace kavlo {
namespace {

TEST(WholeNumber, LeadingBlanksSignAndDigitsOnly) {
    EXPECT_EQ(ParseWholeNumber("        42").value, 42);
    EXPECT_TRUE(ParseWholeNumber("        42").valid);
    EXPECT_EQ(ParseWholeNumber("42        ").value, 0);
    EXPECT_FALSE(ParseWholeNumber("42        ").valid);
    EXPECT_FALSE(ParseWholeNumber("").valid);
    EXPECT_FALSE(ParseWholeNumber("   ").valid);
    EXPECT_FALSE(ParseWholeNumber("-").valid);
    EXPECT_FALSE(ParseWholeNumber("0x10").valid);
    EXPECT_FALSE(ParseWholeNumber("$10").valid);
    EXPECT_EQ(ParseWholeNumber("-17").value, -17);
    EXPECT_EQ(ParseWholeNumber("+17").value, 17);
    EXPECT_EQ(ParseWholeNumber("2147483647").value, 2147483647);
    EXPECT_EQ(ParseWholeNumber("-2147483648").value, INT32_MIN);
    EXPECT_FALSE(ParseWholeNumber("2147483648").valid);
    EXPECT_FALSE(ParseWholeNumber("99999999999999999999999").valid);
}

TEST(NavDateTime, BinaryDateAndTime) {
    EXPECT_EQ(NavDateToDate(1387919 + 2 * 36526), 36526);
    EXPECT_EQ(NavDateToDate(1387919 + 2 * 36526 + 1), 36526);
    EXPECT_EQ(NavDateToDate(1387919 - 3), -1);  // truncated toward zero
    EXPECT_DOUBLE_EQ(NavTimeToTime(43200000), 0.5);
    EXPECT_DOUBLE_EQ(NavTimeToTime(0), 0.0);
    // Extreme raw values from a damaged file convert without overflow.
    EXPECT_EQ(NavDateToDate(INT32_MIN), static_cast<double>((static_cast<int64_t>(INT32_MIN) - 1387919) / 2));
}

FormatSettings Danish() {
    FormatSettings fs;
    fs.shortDateFormat = "dd-MM-yyyy";
    fs.dateSeparator = '-';
    return fs;
}

TEST(DateText, WindowsPictures) {
    FormatSettings fs;
    const double d = EncodeDate(2009, 1, 5);
    EXPECT_EQ(FormatDatePicture(d, "dd-MM-yy", fs), "05-01-09");
    EXPECT_EQ(FormatDatePicture(d, "M/d/yyyy", fs), "1/5/2009");
    EXPECT_EQ(FormatDatePicture(d, "yyyy-MM-dd", fs), "2009-01-05");
    EXPECT_EQ(FormatDatePicture(d, "dddd, MMMM d, yyyy", fs), "Monday, January 5, 2009");
    EXPECT_EQ(FormatDatePicture(d, "ddd dd'.' MMM", fs), "Mon 05. Jan");
    EXPECT_EQ(FormatDatePicture(d, "'d''M'd", fs), "d'M5");
    const double t = EncodeTime(15, 4, 9, 0);
    EXPECT_EQ(FormatTimePicture(t, "HH:mm:ss", fs), "15:04:09");
    EXPECT_EQ(FormatTimePicture(t, "h:mm:ss tt", fs), "3:04:09 PM");
    EXPECT_EQ(FormatTimePicture(EncodeTime(0, 5, 0, 0), "hh:mm t", fs), "12:05 A");
    EXPECT_EQ(FormatTimePicture(EncodeTime(9, 5, 0, 0), "H.m.s", fs), "9.5.0");
}

TEST(LocalDate, ParsesInTheRegionalOrder) {
    FormatSettings fs = Danish();
    EXPECT_EQ(LocalDateValue("17-02-2004", fs), EncodeDate(2004, 2, 17));
    EXPECT_EQ(LocalDateValue(" 7-2-04 ", fs), EncodeDate(2004, 2, 7));
    EXPECT_EQ(LocalDateValue("2004-02-17", fs), 0);  // another order
    EXPECT_EQ(LocalDateValue("17/02/2004", fs), 0);  // another separator
    EXPECT_EQ(LocalDateValue("", fs), 0);
    EXPECT_EQ(LocalDateValue("31-02-2004", fs), 0);
    EXPECT_EQ(LocalDateValue("17-02-2004x", fs), 0);
    EXPECT_EQ(LocalDateValue("17-02", fs), 0);
    fs.shortDateFormat = "M/d/yyyy";
    fs.dateSeparator = '/';
    EXPECT_EQ(LocalDateValue("2/17/2004", fs), EncodeDate(2004, 2, 17));
    fs.shortDateFormat = "yyyy.MM.dd";
    fs.dateSeparator = '.';
    EXPECT_EQ(LocalDateValue("2004.02.17", fs), EncodeDate(2004, 2, 17));
}

TEST(LocalDate, TwoDigitYearsFallInTheWindowEndingAtTwoDigitYearMax) {
    FormatSettings fs = Danish();
    fs.twoDigitYearMax = 2049;
    EXPECT_EQ(DecodeDate(LocalDateValue("01-01-49", fs)).year, 2049);
    EXPECT_EQ(DecodeDate(LocalDateValue("01-01-50", fs)).year, 1950);
    EXPECT_EQ(DecodeDate(LocalDateValue("01-01-00", fs)).year, 2000);
    fs.twoDigitYearMax = 2029;
    EXPECT_EQ(DecodeDate(LocalDateValue("01-01-30", fs)).year, 1930);
    EXPECT_EQ(DecodeDate(LocalDateValue("01-01-29", fs)).year, 2029);
    EXPECT_EQ(DecodeDate(LocalDateValue("01-01-0029", fs)).year, 29);  // four digits stand
}

TEST(LocalTime, ParsesHoursMinutesSecondsAndDesignators) {
    FormatSettings fs;
    EXPECT_DOUBLE_EQ(LocalTimeValue("12:00:00", fs), 0.5);
    EXPECT_DOUBLE_EQ(LocalTimeValue("18:00", fs), 0.75);
    EXPECT_DOUBLE_EQ(LocalTimeValue("6:00:00 PM", fs), 0.75);
    EXPECT_DOUBLE_EQ(LocalTimeValue("12:00:00 AM", fs), 0.0);
    EXPECT_DOUBLE_EQ(LocalTimeValue("10:00:00.500", fs), EncodeTime(10, 0, 0, 500));
    EXPECT_EQ(LocalTimeValue("", fs), 0);
    EXPECT_EQ(LocalTimeValue("25:00:00", fs), 0);
    EXPECT_EQ(LocalTimeValue("12.00.00", fs), 0);
    EXPECT_EQ(LocalTimeValue("13:00 PM", fs), 0);
    EXPECT_EQ(LocalTimeValue("noon", fs), 0);
}

TEST(Iso, Dates) {
    EXPECT_EQ(IsoDate("2009-01-31"), EncodeDate(2009, 1, 31));
    EXPECT_EQ(IsoDate("-2009-01-31"), EncodeDate(2009, 1, 31));
    EXPECT_EQ(IsoDate("2009/01/31"), EncodeDate(2009, 1, 31));  // separators not examined
    EXPECT_THROW(IsoDate("2009-13-01"), EConvertError);
    EXPECT_THROW(IsoDate("2009-02-30"), EConvertError);
    EXPECT_THROW(IsoDate("20x9-01-31"), EConvertError);
    EXPECT_THROW(IsoDate("2009-01"), EConvertError);
    EXPECT_THROW(IsoDate(""), EConvertError);
}

TEST(Iso, DateTimes) {
    EXPECT_DOUBLE_EQ(IsoDateTime("2009-01-31T24:00:00", false, true), EncodeDate(2009, 2, 1));
    EXPECT_DOUBLE_EQ(IsoDateTime("2009-01-31", true, true), EncodeDate(2009, 1, 31));
    EXPECT_DOUBLE_EQ(IsoDateTime("T10:00:00+02:00", false, true), EncodeTime(8, 0, 0, 0));
    EXPECT_DOUBLE_EQ(IsoDateTime("T10:00:00+02:00", false, false), EncodeTime(10, 0, 0, 0));
    EXPECT_DOUBLE_EQ(IsoDateTime("T10:00:00-02:00", false, true), EncodeTime(12, 0, 0, 0));
    EXPECT_DOUBLE_EQ(IsoDateTime("T10:00:00Z", false, true), EncodeTime(10, 0, 0, 0));
    EXPECT_DOUBLE_EQ(IsoDateTime("T10:00:00Z", false, false), EncodeTime(10, 0, 0, 0));
    EXPECT_DOUBLE_EQ(IsoDateTime("T10:00:00.5", true, false), EncodeTime(10, 0, 0, 500));
    EXPECT_DOUBLE_EQ(IsoDateTime("T10:00:00.5", false, false), EncodeTime(10, 0, 0, 0));
    EXPECT_DOUBLE_EQ(IsoDateTime("T10:00:00.5+01:00", false, true), EncodeTime(9, 0, 0, 0));
    EXPECT_DOUBLE_EQ(IsoDateTime("T10:00:00.+01:00", true, true), EncodeTime(9, 0, 0, 0));
    EXPECT_THROW(IsoDateTime("T", false, false), EConvertError);
    EXPECT_THROW(IsoDateTime("T25:00:00", false, false), EConvertError);
    EXPECT_THROW(IsoDateTime("T10:00:00+0x:00", false, true), EConvertError);
    // A time before midnight after the shift is not brought into the day here.
    EXPECT_LT(IsoDateTime("T01:00:00+02:00", false, true), 0);
}

}  // namespace
}  // namespace kavlo
