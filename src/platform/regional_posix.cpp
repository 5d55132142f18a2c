// The regional formats natively: the C library's locale, the local time zone, a fixed OEM
// code page.
#include <langinfo.h>

#include <clocale>
#include <ctime>

#include "platform/regional.h"

namespace kavlo {

namespace {

// A C library time picture (%d.%m.%Y) as a Windows-style one (dd.MM.yyyy).
std::string PictureFromStrftime(const char* f, bool* ok) {
    std::string out;
    *ok = true;
    for (; *f; ++f) {
        if (*f != '%') {
            if (*f == '\'') out += "''";
            else out += *f;
            continue;
        }
        ++f;
        switch (*f) {
            case 'd': out += "dd"; break;
            case 'e': out += "d"; break;
            case 'm': out += "MM"; break;
            case 'y': out += "yy"; break;
            case 'Y': out += "yyyy"; break;
            case 'b': case 'h': out += "MMM"; break;
            case 'B': out += "MMMM"; break;
            case 'a': out += "ddd"; break;
            case 'A': out += "dddd"; break;
            case 'H': out += "HH"; break;
            case 'I': out += "hh"; break;
            case 'M': out += "mm"; break;
            case 'S': out += "ss"; break;
            case 'p': out += "tt"; break;
            case 'T': out += "HH:mm:ss"; break;
            case 'R': out += "HH:mm"; break;
            case 'D': out += "MM/dd/yy"; break;
            case 'F': out += "yyyy-MM-dd"; break;
            case 'r': out += "hh:mm:ss tt"; break;
            case '%': out += '%'; break;
            default: *ok = false; return out;
        }
    }
    return out;
}

char FirstSeparator(const std::string& picture, const char* letters, char fallback) {
    for (char c : picture) {
        if (std::string_view(letters).find(c) == std::string_view::npos && c != '\'' && c != ' ')
            return c;
    }
    return fallback;
}

class CLibraryTimeZone final : public TimeZoneSource {
public:
    int BiasMinutes() const override {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        if (!localtime_r(&now, &local)) return 0;
        return static_cast<int>(-local.tm_gmtoff / 60);
    }
};

}  // namespace

FormatSettings SystemFormatSettings() {
    FormatSettings fs;
    const char* previous = std::setlocale(LC_TIME, nullptr);
    std::string saved = previous ? previous : "C";
    if (std::setlocale(LC_TIME, "")) {
        bool okDate = false, okTime = false;
        std::string date = PictureFromStrftime(nl_langinfo(D_FMT), &okDate);
        std::string time = PictureFromStrftime(nl_langinfo(T_FMT), &okTime);
        if (okDate && !date.empty()) {
            fs.shortDateFormat = date;
            fs.dateSeparator = FirstSeparator(date, "dMyg", '/');
        }
        if (okTime && !time.empty()) {
            fs.longTimeFormat = time;
            fs.timeSeparator = FirstSeparator(time, "hHmst", ':');
        }
        const char* am = nl_langinfo(AM_STR);
        const char* pm = nl_langinfo(PM_STR);
        if (am && *am) fs.amDesignator = am;
        if (pm && *pm) fs.pmDesignator = pm;
    }
    std::setlocale(LC_TIME, saved.c_str());
    return fs;
}

std::unique_ptr<OemCodePage> SystemOemCodePage() {
    // Western European DOS, the code page of most Navision installations' text exports.
    return std::make_unique<TableOemCodePage>(850);
}

std::unique_ptr<TimeZoneSource> SystemTimeZone() { return std::make_unique<CLibraryTimeZone>(); }

}  // namespace kavlo
