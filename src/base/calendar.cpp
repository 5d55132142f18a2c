// Calendar arithmetic on day serials: dates of the proleptic Gregorian calendar and times of
// day, to and from the serial's whole part and fraction.
#include "base/calendar.h"

#include <cmath>

#include "base/errors.h"

namespace kavlo {

namespace {

constexpr int64_t kMsPerDay = 86400000;

// Days from 1970-01-01 of a civil date, and back (H. Hinnant's algorithms, any year).
int64_t DaysFromCivil(int64_t y, int m, int d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int64_t* y, int* m, int* d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    *d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    *m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    *y = yoe + era * 400 + (*m <= 2);
}

// 30 December 1899 is day -25569 from 1970-01-01.
constexpr int64_t kSerialEpoch = -25569;

}  // namespace

bool IsValidDate(int64_t year, int month, int day) {
    if (month < 1 || month > 12 || day < 1) return false;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

double EncodeDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || !IsValidDate(year, month, day))
        throw EConvertError("Invalid argument to date encode");
    return static_cast<double>(DaysFromCivil(year, month, day) - kSerialEpoch);
}

CivilDate DecodeDate(double serial) {
    CivilDate c;
    // The whole part is the date also for serials before the epoch (-1.25 is 29 December
    // 1899, 6:00); huge values from a damaged file are clamped rather than overflowed.
    double whole = std::trunc(serial);
    if (!(whole > -1e12)) whole = -1e12;
    if (whole > 1e12) whole = 1e12;
    const int64_t days = static_cast<int64_t>(whole) + kSerialEpoch;
    CivilFromDays(days, &c.year, &c.month, &c.day);
    c.dayOfWeek = static_cast<int>(((days % 7) + 7 + 4) % 7);  // 1970-01-01 was a Thursday
    return c;
}

double EncodeTime(int hour, int minute, int second, int millisecond) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
        millisecond < 0 || millisecond > 999)
        throw EConvertError("Invalid argument to time encode");
    return static_cast<double>(((hour * 60 + minute) * 60 + second) * 1000 + millisecond) /
           static_cast<double>(kMsPerDay);
}

ClockTime DecodeTime(double serial) {
    double frac = std::fabs(serial - std::trunc(serial));
    if (!(frac >= 0)) frac = 0;  // NaN
    int64_t ms = std::llround(frac * kMsPerDay);
    if (ms >= kMsPerDay) ms = kMsPerDay - 1;
    ClockTime t;
    t.millisecond = static_cast<int>(ms % 1000);
    t.second = static_cast<int>(ms / 1000 % 60);
    t.minute = static_cast<int>(ms / 60000 % 60);
    t.hour = static_cast<int>(ms / 3600000);
    return t;
}

}  // namespace kavlo
