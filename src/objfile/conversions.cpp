// Numbers, dates, times and texts of the four file formats converted into the record's forms.
#include "objfile/conversions.h"

#include <algorithm>
#include <cstdlib>

#include "base/calendar.h"
#include "base/errors.h"

namespace kavlo {

namespace {

int StrictNumber(std::string_view part) {
    const WholeNumber n = ParseWholeNumber(part);
    if (!n.valid) throw EConvertError("'" + std::string(part) + "' is not a valid integer value");
    return n.value;
}

std::string_view Chars(std::string_view s, size_t first1, size_t count) {
    // Characters first1 .. first1+count-1, counted from 1; shorter at the end of the text.
    if (first1 - 1 >= s.size()) return {};
    return s.substr(first1 - 1, count);
}

void AppendNumber(std::string& out, int64_t v, int width) {
    std::string digits = std::to_string(v < 0 ? -v : v);
    if (v < 0) out += '-';
    for (int i = static_cast<int>(digits.size()); i < width; ++i) out += '0';
    out += digits;
}

// Length of the run of the same letter at p.
size_t Run(std::string_view s, size_t p) {
    size_t n = 1;
    while (p + n < s.size() && s[p + n] == s[p]) ++n;
    return n;
}

// Appends a quoted literal starting at p (the opening quote); returns the index after it.
size_t AppendQuoted(std::string& out, std::string_view s, size_t p) {
    ++p;
    while (p < s.size()) {
        if (s[p] == '\'') {
            if (p + 1 < s.size() && s[p + 1] == '\'') {
                out += '\'';
                p += 2;
                continue;
            }
            return p + 1;
        }
        out += s[p++];
    }
    return p;
}

}  // namespace

WholeNumber ParseWholeNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return {};
    int64_t v = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return {};
        v = v * 10 + (c - '0');
        if (v > int64_t{2147483648}) return {};
    }
    if (negative) v = -v;
    if (v > INT32_MAX || v < INT32_MIN) return {};
    return {static_cast<int32_t>(v), true};
}

double NavDateToDate(int32_t raw) {
    return static_cast<double>((static_cast<int64_t>(raw) - 1387919) / 2);
}

double NavTimeToTime(int32_t raw) { return static_cast<double>(raw) / 86400.0 / 1000.0; }

std::string FormatDatePicture(double serial, std::string_view pic, const FormatSettings& fs) {
    const CivilDate c = DecodeDate(serial);
    std::string out;
    size_t p = 0;
    while (p < pic.size()) {
        const char ch = pic[p];
        if (ch == '\'') {
            p = AppendQuoted(out, pic, p);
            continue;
        }
        const size_t n = Run(pic, p);
        switch (ch) {
            case 'd':
                if (n == 1) AppendNumber(out, c.day, 1);
                else if (n == 2) AppendNumber(out, c.day, 2);
                else if (n == 3) out += fs.shortDayNames[c.dayOfWeek];
                else out += fs.longDayNames[c.dayOfWeek];
                break;
            case 'M':
                if (n == 1) AppendNumber(out, c.month, 1);
                else if (n == 2) AppendNumber(out, c.month, 2);
                else if (n == 3) out += fs.shortMonthNames[c.month - 1];
                else out += fs.longMonthNames[c.month - 1];
                break;
            case 'y':
                // "y" is written as "yy" is: two digits, as the system's own formatting does.
                if (n <= 2) AppendNumber(out, ((c.year % 100) + 100) % 100, 2);
                else AppendNumber(out, c.year, 4);
                break;
            case 'g':
                out += "A.D.";
                break;
            default:
                out.append(n, ch);
                break;
        }
        p += n;
    }
    return out;
}

std::string FormatTimePicture(double serial, std::string_view pic, const FormatSettings& fs) {
    const ClockTime t = DecodeTime(serial);
    std::string out;
    size_t p = 0;
    while (p < pic.size()) {
        const char ch = pic[p];
        if (ch == '\'') {
            p = AppendQuoted(out, pic, p);
            continue;
        }
        const size_t n = Run(pic, p);
        const int width = n >= 2 ? 2 : 1;
        switch (ch) {
            case 'h': {
                const int h12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
                AppendNumber(out, h12, width);
                break;
            }
            case 'H': AppendNumber(out, t.hour, width); break;
            case 'm': AppendNumber(out, t.minute, width); break;
            case 's': AppendNumber(out, t.second, width); break;
            case 't': {
                const std::string& d = t.hour < 12 ? fs.amDesignator : fs.pmDesignator;
                out += n == 1 ? d.substr(0, 1) : d;
                break;
            }
            default: out.append(n, ch); break;
        }
        p += n;
    }
    return out;
}

std::string FormatDateText(double serial, const FormatSettings& fs) {
    return FormatDatePicture(serial, fs.shortDateFormat, fs);
}

std::string FormatTimeText(double serial, const FormatSettings& fs) {
    return FormatTimePicture(serial, fs.longTimeFormat, fs);
}

double LocalDateValue(std::string_view text, const FormatSettings& fs) {
    // The order of day, month and year is the order of their first letters in the picture.
    std::string order;
    for (char ch : fs.shortDateFormat) {
        const char k = ch == 'd' ? 'D' : ch == 'M' ? 'M' : ch == 'y' ? 'Y' : 0;
        if (k && order.find(k) == std::string::npos) order += k;
    }
    if (order.size() != 3) order = "MDY";
    int64_t parts[3] = {0, 0, 0};
    int digitsOf[3] = {0, 0, 0};
    size_t p = 0;
    const auto skipBlanks = [&] {
        while (p < text.size() && text[p] == ' ') ++p;
    };
    for (int i = 0; i < 3; ++i) {
        skipBlanks();
        int digits = 0;
        int64_t v = 0;
        while (p < text.size() && text[p] >= '0' && text[p] <= '9' && digits < 9) {
            v = v * 10 + (text[p] - '0');
            ++p;
            ++digits;
        }
        if (digits == 0 || (p < text.size() && text[p] >= '0' && text[p] <= '9')) return 0;
        parts[i] = v;
        digitsOf[i] = digits;
        skipBlanks();
        if (i < 2) {
            if (p >= text.size() || text[p] != fs.dateSeparator) return 0;
            ++p;
        }
    }
    skipBlanks();
    if (p != text.size()) return 0;
    int64_t y = 0, m = 0, d = 0;
    int yearDigits = 0;
    for (int i = 0; i < 3; ++i) {
        if (order[i] == 'D') d = parts[i];
        if (order[i] == 'M') m = parts[i];
        if (order[i] == 'Y') {
            y = parts[i];
            yearDigits = digitsOf[i];
        }
    }
    if (yearDigits <= 2) {
        // The hundred years that end with twoDigitYearMax.
        const int64_t max = fs.twoDigitYearMax;
        int64_t full = max - ((max % 100) - y);
        if (y > max % 100) full -= 100;
        y = full;
    }
    if (y < 1 || y > 9999 || !IsValidDate(y, static_cast<int>(m), static_cast<int>(d))) return 0;
    return EncodeDate(static_cast<int>(y), static_cast<int>(m), static_cast<int>(d));
}

double LocalTimeValue(std::string_view text, const FormatSettings& fs) {
    size_t p = 0;
    const auto skipBlanks = [&] {
        while (p < text.size() && text[p] == ' ') ++p;
    };
    const auto number = [&](int maxDigits, int* out) {
        int digits = 0, v = 0;
        while (p < text.size() && text[p] >= '0' && text[p] <= '9' && digits < maxDigits) {
            v = v * 10 + (text[p] - '0');
            ++p;
            ++digits;
        }
        *out = v;
        return digits > 0;
    };
    const auto designator = [&](const std::string& d) {
        if (d.empty() || text.size() - p < d.size()) return false;
        for (size_t i = 0; i < d.size(); ++i) {
            char a = text[p + i], b = d[i];
            if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 32);
            if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 32);
            if (a != b) return false;
        }
        p += d.size();
        return true;
    };
    skipBlanks();
    int ampm = 0;  // 1 AM, 2 PM
    if (designator(fs.amDesignator)) ampm = 1;
    else if (designator(fs.pmDesignator)) ampm = 2;
    skipBlanks();
    int h = 0, m = 0, s = 0, ms = 0;
    if (!number(2, &h)) return 0;
    skipBlanks();
    if (p < text.size() && text[p] == fs.timeSeparator) {
        ++p;
        skipBlanks();
        if (!number(2, &m)) return 0;
        skipBlanks();
        if (p < text.size() && text[p] == fs.timeSeparator) {
            ++p;
            skipBlanks();
            if (!number(2, &s)) return 0;
            if (p < text.size() && text[p] == '.') {
                ++p;
                if (!number(3, &ms)) return 0;
            }
        }
    }
    skipBlanks();
    if (ampm == 0) {
        if (designator(fs.amDesignator)) ampm = 1;
        else if (designator(fs.pmDesignator)) ampm = 2;
    }
    skipBlanks();
    if (p != text.size()) return 0;
    if (ampm) {
        if (h < 1 || h > 12) return 0;
        if (ampm == 1 && h == 12) h = 0;
        if (ampm == 2 && h < 12) h += 12;
    }
    if (h > 23 || m > 59 || s > 59) return 0;
    return EncodeTime(h, m, s, ms);
}

double IsoDate(std::string_view text) {
    if (!text.empty() && text[0] == '-') text.remove_prefix(1);
    const int y = StrictNumber(Chars(text, 1, 4));
    const int m = StrictNumber(Chars(text, 6, 2));
    const int d = StrictNumber(Chars(text, 9, 2));
    if (y < 0 || y > 65535 || m < 0 || m > 65535 || d < 0 || d > 65535)
        throw EConvertError("Invalid argument to date encode");
    return EncodeDate(y, m, d);
}

double IsoDateTime(std::string_view text, bool withFraction, bool withZone) {
    double result = 0;
    const size_t t = text.find('T');
    if (!text.starts_with('T')) result = IsoDate(text);
    if (t == std::string_view::npos) return result;
    text.remove_prefix(t + 1);
    int hour = StrictNumber(Chars(text, 1, 2));
    const int minute = StrictNumber(Chars(text, 4, 2));
    const int second = StrictNumber(Chars(text, 7, 2));
    if (hour == 24) {
        result += 1;
        hour = 0;
    }
    result += EncodeTime(hour, minute, second, 0);
    text.remove_prefix(std::min<size_t>(8, text.size()));
    if (text.starts_with('.')) {
        text.remove_prefix(1);
        size_t n = 0;
        while (n < text.size() && text[n] >= '0' && text[n] <= '9') ++n;
        if (n > 0) {
            const std::string digits(text.substr(0, n));
            text.remove_prefix(n);
            if (withFraction) {
                const std::string number = "0." + digits;
                char* end = nullptr;
                const double f = std::strtod(number.c_str(), &end);
                if (end && *end == '\0') result += f / 86400.0;
            }
        }
    }
    if (text.empty() || text[0] == 'Z' || (text[0] != '+' && text[0] != '-')) return result;
    if (withZone) {
        const int zh = StrictNumber(Chars(text, 2, 2));
        const int zm = StrictNumber(Chars(text, 5, 2));
        const double span = (zh * 60.0 + zm) / 1440.0;
        if (text[0] == '-') result += span;
        else result -= span;
    }
    return result;
}

}  // namespace kavlo
