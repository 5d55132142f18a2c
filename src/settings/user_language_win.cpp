// The user's language on Windows (GetUserDefaultLangID).
#include <windows.h>

#include "settings/settings.h"

namespace kavlo {

uint16_t UserDefaultLanguageId() { return GetUserDefaultLangID(); }

}  // namespace kavlo
