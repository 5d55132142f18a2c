// The regional formats of one Windows locale (LOCALE_USER_DEFAULT for the user's own).
#pragma once
#include "platform/format_settings.h"

namespace kavlo {
FormatSettings FormatSettingsOfLocale(unsigned long locale);
}
