#include <windows.h>

#include "platform/regional.h"

namespace kavlo {

namespace {

std::string LocaleText(LCTYPE type, const char* fallback) {
    char buffer[256];
    const int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer);
    if (n <= 1) return fallback;
    return std::string(buffer, static_cast<size_t>(n - 1));
}

class SystemOem final : public OemCodePage {
public:
    std::string OemToAnsi(std::string_view oem) const override {
        std::string out(oem);
        if (!out.empty()) OemToCharBuffA(out.data(), out.data(), static_cast<DWORD>(out.size()));
        return out;
    }
};

class WinTimeZone final : public TimeZoneSource {
public:
    int BiasMinutes() const override {
        TIME_ZONE_INFORMATION tz{};
        switch (GetTimeZoneInformation(&tz)) {
            case TIME_ZONE_ID_UNKNOWN: return static_cast<int>(tz.Bias);
            case TIME_ZONE_ID_STANDARD: return static_cast<int>(tz.Bias + tz.StandardBias);
            case TIME_ZONE_ID_DAYLIGHT: return static_cast<int>(tz.Bias + tz.DaylightBias);
            default: return 0;
        }
    }
};

}  // namespace

FormatSettings SystemFormatSettings() {
    FormatSettings fs;
    fs.shortDateFormat = LocaleText(LOCALE_SSHORTDATE, "M/d/yyyy");
    const std::string sep = LocaleText(LOCALE_SDATE, "/");
    fs.dateSeparator = sep.empty() ? '/' : sep[0];
    fs.longTimeFormat = LocaleText(LOCALE_STIMEFORMAT, "h:mm:ss tt");
    const std::string tsep = LocaleText(LOCALE_STIME, ":");
    fs.timeSeparator = tsep.empty() ? ':' : tsep[0];
    fs.amDesignator = LocaleText(LOCALE_S1159, "AM");
    fs.pmDesignator = LocaleText(LOCALE_S2359, "PM");
    for (int m = 0; m < 12; ++m) {
        fs.shortMonthNames[m] = LocaleText(LOCALE_SABBREVMONTHNAME1 + m, fs.shortMonthNames[m].c_str());
        fs.longMonthNames[m] = LocaleText(LOCALE_SMONTHNAME1 + m, fs.longMonthNames[m].c_str());
    }
    // Windows numbers its day names from Monday (LOCALE_SDAYNAME1); ours start on Sunday.
    for (int d = 0; d < 7; ++d) {
        const int win = (d + 6) % 7;
        fs.shortDayNames[d] = LocaleText(LOCALE_SABBREVDAYNAME1 + win, fs.shortDayNames[d].c_str());
        fs.longDayNames[d] = LocaleText(LOCALE_SDAYNAME1 + win, fs.longDayNames[d].c_str());
    }
    DWORD twoDigitMax = 0;
    if (GetCalendarInfoA(LOCALE_USER_DEFAULT, CAL_GREGORIAN, CAL_ITWODIGITYEARMAX | CAL_RETURN_NUMBER,
                         nullptr, 0, &twoDigitMax) &&
        twoDigitMax >= 99 && twoDigitMax <= 9999) {
        fs.twoDigitYearMax = static_cast<int>(twoDigitMax);
    }
    return fs;
}

std::unique_ptr<OemCodePage> SystemOemCodePage() { return std::make_unique<SystemOem>(); }

std::unique_ptr<TimeZoneSource> SystemTimeZone() { return std::make_unique<WinTimeZone>(); }

}  // namespace kavlo
