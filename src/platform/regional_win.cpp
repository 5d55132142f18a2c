// The regional formats of a Windows locale (GetLocaleInfo), its OEM code page and the time zone.
#include <windows.h>

#include "platform/regional.h"
#include "platform/regional_win.h"

namespace kavlo {

namespace {

std::string LocaleText(LCID locale, LCTYPE type, const char* fallback) {
    char buffer[256];
    const int n = GetLocaleInfoA(locale, type, buffer, sizeof buffer);
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
    int CodePage() const override { return static_cast<int>(GetOEMCP()); }
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

FormatSettings FormatSettingsOfLocale(unsigned long locale) {
    FormatSettings fs;
    fs.shortDateFormat = LocaleText(locale, LOCALE_SSHORTDATE, "M/d/yyyy");
    const std::string sep = LocaleText(locale, LOCALE_SDATE, "/");
    fs.dateSeparator = sep.empty() ? '/' : sep[0];
    fs.longTimeFormat = LocaleText(locale, LOCALE_STIMEFORMAT, "h:mm:ss tt");
    const std::string tsep = LocaleText(locale, LOCALE_STIME, ":");
    fs.timeSeparator = tsep.empty() ? ':' : tsep[0];
    fs.amDesignator = LocaleText(locale, LOCALE_S1159, "AM");
    fs.pmDesignator = LocaleText(locale, LOCALE_S2359, "PM");
    for (int m = 0; m < 12; ++m) {
        fs.shortMonthNames[m] = LocaleText(locale, LOCALE_SABBREVMONTHNAME1 + m, fs.shortMonthNames[m].c_str());
        fs.longMonthNames[m] = LocaleText(locale, LOCALE_SMONTHNAME1 + m, fs.longMonthNames[m].c_str());
    }
    // Windows numbers its day names from Monday (LOCALE_SDAYNAME1); ours start on Sunday.
    for (int d = 0; d < 7; ++d) {
        const int win = (d + 6) % 7;
        fs.shortDayNames[d] = LocaleText(locale, LOCALE_SABBREVDAYNAME1 + win, fs.shortDayNames[d].c_str());
        fs.longDayNames[d] = LocaleText(locale, LOCALE_SDAYNAME1 + win, fs.longDayNames[d].c_str());
    }
    DWORD twoDigitMax = 0;
    if (GetCalendarInfoA(locale, CAL_GREGORIAN, CAL_ITWODIGITYEARMAX | CAL_RETURN_NUMBER,
                         nullptr, 0, &twoDigitMax) &&
        twoDigitMax >= 99 && twoDigitMax <= 9999) {
        fs.twoDigitYearMax = static_cast<int>(twoDigitMax);
    }
    return fs;
}

FormatSettings SystemFormatSettings() { return FormatSettingsOfLocale(LOCALE_USER_DEFAULT); }

std::unique_ptr<OemCodePage> SystemOemCodePage() { return std::make_unique<SystemOem>(); }

std::unique_ptr<TimeZoneSource> SystemTimeZone() { return std::make_unique<WinTimeZone>(); }

}  // namespace kavlo
