// The text of the application's standard error report: the error's own text, with a full stop
// added when its last character sorts after ".".
#pragma once
#include <string>
#include <string_view>

namespace kavlo {

std::string ErrorReportText(std::string_view message);

inline constexpr std::string_view kApplicationTitle = "Kavlodex";
inline constexpr std::string_view kMainCaption = "Ostra's Kavlodex";

}  // namespace kavlo
