// The text of the standard error report (the "." rule).
#include "gui/error_report.h"

namespace kavlo {

std::string ErrorReportText(std::string_view message) {
    std::string text(message);
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
    return text;
}

}  // namespace kavlo
