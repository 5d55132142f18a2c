// The regional formats, OEM code page and time zone of the running system, read once.
#include "platform/regional.h"

namespace kavlo {

SystemRegional::SystemRegional()
    : oem(SystemOemCodePage()), timeZone(SystemTimeZone()), format(SystemFormatSettings()) {}

}  // namespace kavlo
