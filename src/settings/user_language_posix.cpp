// The user's language natively: English (United States), whose marking texts are the English ones.
#include "settings/settings.h"

namespace kavlo {

// There is no user language to ask for natively; English (United States) gives the English
// captions, the same as every language but Danish.
uint16_t UserDefaultLanguageId() { return 0x0409; }

}  // namespace kavlo
