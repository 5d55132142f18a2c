// What the readers need of the platform, taken as one parameter: the regional formats, the OEM
// code page and the time zone.
#pragma once
#include <memory>

#include "platform/code_page.h"
#include "platform/format_settings.h"
#include "platform/time_zone.h"

namespace kavlo {

struct Regional {
    FormatSettings format;
    const OemCodePage* oem = nullptr;
    const TimeZoneSource* timeZone = nullptr;
};

// The platform's own implementations (the user's locale, OEM code page and time zone on
// Windows; the environment's locale, code page 850 and the C library's zone natively).
struct SystemRegional {
    SystemRegional();
    std::unique_ptr<OemCodePage> oem;
    std::unique_ptr<TimeZoneSource> timeZone;
    FormatSettings format;
    Regional Get() const { return Regional{format, oem.get(), timeZone.get()}; }
};

FormatSettings SystemFormatSettings();
std::unique_ptr<OemCodePage> SystemOemCodePage();
std::unique_ptr<TimeZoneSource> SystemTimeZone();

}  // namespace kavlo
