// Calendar arithmetic on day serials. A day serial is a count of days since 30 December 1899
// (the OLE Automation date); its whole part is the date, its fraction the time of day.
#pragma once
#include <cstdint>

namespace kavlo {

// 0 stands for no date.
inline constexpr double kNoDate = 0.0;

// Calendar arithmetic on day serials (proleptic Gregorian calendar, any year).
struct CivilDate {
    int64_t year = 0;
    int month = 0;      // 1 to 12
    int day = 0;        // 1 to 31
    int dayOfWeek = 0;  // 0 = Sunday
};
bool IsValidDate(int64_t year, int month, int day);
// Raises EConvertError for an impossible date or a year outside 1 to 9999.
double EncodeDate(int year, int month, int day);
CivilDate DecodeDate(double serial);
// Raises EConvertError for an impossible time (hour 0 to 23, minute and second 0 to 59).
double EncodeTime(int hour, int minute, int second, int millisecond);
struct ClockTime {
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};
// The time of day of a serial, rounded to the millisecond (the fraction's magnitude is used).
ClockTime DecodeTime(double serial);

}  // namespace kavlo
