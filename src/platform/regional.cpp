#include "platform/regional.h"

namespace kavlo {

SystemRegional::SystemRegional()
    : oem(SystemOemCodePage()), timeZone(SystemTimeZone()), format(SystemFormatSettings()) {}

}  // namespace kavlo
