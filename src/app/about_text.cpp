// The about box's version rule and link addresses.
#include "app/about_text.h"

#include "objfile/object_types.h"

namespace kavlo {

std::string ShortenVersion(std::string version) {
    while (version.size() > 4 && version.ends_with(".0")) version.resize(version.size() - 2);
    return version;
}

std::string LinkTarget(std::string_view caption, std::string_view boxCaption) {
    std::string text(caption);
    const std::string head = LowerAscii(text.substr(0, 7));
    if (text.find('@') == std::string::npos) return head == "http://" ? text : "http://" + text;
    // An address already given as "mailto:" gets neither the prefix nor the subject.
    if (head == "mailto:") return text;
    return "mailto:" + text + "?subject=" + std::string(boxCaption);
}

}  // namespace kavlo
