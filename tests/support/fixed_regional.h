// A Regional with fixed values for tests: dd-MM-yy, HH:mm:ss, code page 850, UTC.
#pragma once
#include "platform/regional.h"

namespace kavlo::testing {

struct FixedRegional {
    TableOemCodePage oem{850};
    FixedTimeZone zone{0};
    FormatSettings format;
    Regional Get() const { return Regional{format, &oem, &zone}; }
};

}  // namespace kavlo::testing
