#include "settings/update_check.h"

#include <ctime>

#include "objfile/conversions.h"

namespace kavlo {

std::string WebPageUrl() { return "http://" + std::string(kWebSiteHost) + "/navision.htm"; }

double LocalToday() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

}  // namespace kavlo
