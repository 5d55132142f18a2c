// The conversions that bring the numbers, dates, times and texts of the four file formats
// into the forms of the object record: day serials (base/calendar.h) and the date and time
// texts of the list. Pure functions; the regional formats come in as a FormatSettings value.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/format_settings.h"

namespace kavlo {

struct WholeNumber {
    int32_t value = 0;
    bool valid = false;
};

// Leading blanks, one optional sign, then decimal digits up to the end of the text. Anything
// else (a trailing blank included), the empty text, or a value outside int32 is no whole
// number and gives 0.
WholeNumber ParseWholeNumber(std::string_view text);
inline int32_t WholeNumberValue(std::string_view text) { return ParseWholeNumber(text).value; }

// The binary formats' 32-bit date: (raw - 1387919) / 2, truncated toward zero.
double NavDateToDate(int32_t raw);
// The binary formats' 32-bit time in milliseconds, as a fraction of a day.
double NavTimeToTime(int32_t raw);

// The serial's date in the short date picture of the settings, and its time in the long time
// picture (Windows-style pictures, see FormatSettings).
std::string FormatDateText(double serial, const FormatSettings& fs);
std::string FormatTimeText(double serial, const FormatSettings& fs);
std::string FormatDatePicture(double serial, std::string_view picture, const FormatSettings& fs);
std::string FormatTimePicture(double serial, std::string_view picture, const FormatSettings& fs);

// Parse a date by the regional short date settings (order of day, month and year, date
// separator); whole days, or 0 when the text is no date. Two-digit years fall in the hundred
// years that end with FormatSettings::twoDigitYearMax.
double LocalDateValue(std::string_view text, const FormatSettings& fs);
// Parse a time by the regional time settings (hours, optional minutes, seconds and
// milliseconds, optional AM/PM designator); the fraction of a day, or 0.
double LocalTimeValue(std::string_view text, const FormatSettings& fs);

// ISO 8601 date "yyyy-mm-dd" (an optional leading "-" dropped); raises EConvertError.
double IsoDate(std::string_view text);
// ISO 8601 date and time, "yyyy-mm-ddThh:mm:ss[.fff][Z|+hh:mm|-hh:mm]" or "Thh:mm:ss…";
// raises EConvertError.
double IsoDateTime(std::string_view text, bool withFraction, bool withZone);

}  // namespace kavlo
