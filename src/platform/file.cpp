// What both systems' files share: a write that replaces a file whole, and whether two names
// lead to one file.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>

#include "base/errors.h"
#include "platform/file.h"

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace kavlo {

namespace {

int ProcessId() {
#ifdef _WIN32
    return _getpid();
#else
    return static_cast<int>(::getpid());
#endif
}

}  // namespace

void WriteFileReplacing(const std::string& path, std::string_view bytes) {
    const std::string temporary = path + ".kavlo-" + std::to_string(ProcessId()) + ".tmp";
    try {
        WriteWholeFile(temporary, bytes);
        RenameReplacing(temporary, path);
    } catch (const EFCreateError& e) {
        std::remove(temporary.c_str());
        // The error names the temporary file; the user asked for `path`.
        const std::string prefix = EFCreateError(temporary, "").what();
        const std::string text = e.what();
        throw EFCreateError(path, text.starts_with(prefix) ? text.substr(prefix.size()) : text);
    }
}

std::string PathInFolder(const std::string& folder, const std::string& name) {
#ifdef _WIN32
    constexpr std::string_view kSeparators = "/\\:";
    constexpr char kSeparator = '\\';
#else
    constexpr std::string_view kSeparators = "/";
    constexpr char kSeparator = '/';
#endif
    if (folder.empty() || kSeparators.find(folder.back()) != std::string_view::npos) return folder + name;
    return folder + kSeparator + name;
}

bool SameExistingFile(const std::string& a, const std::string& b) {
    try {
        return InputFile::Open(a)->Identity() == InputFile::Open(b)->Identity();
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace kavlo
