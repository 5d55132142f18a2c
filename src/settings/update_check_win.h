// The update check on Windows: the build's own version data, the network test, the HTTP
// request, and the background thread that reports by a message.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "settings/update_check.h"

namespace kavlo {

// The version data of one file.
class TVersionInfo {
public:
    explicit TVersionInfo(const std::string& fileName);
    bool Valid() const { return valid_; }
    int TranslationCount() const { return count_; }
    // The language (low word) and code page (high word) of translation entry `index`; raises
    // "List index out of bounds (%d)" for an index the table does not hold.
    uint32_t GetTranslation(int index) const;
    std::string GetStringValue(const std::string& name, int translation) const;
    std::string GetStringValueFor(const std::string& name, uint16_t language, uint16_t codePage) const;
    // `key` is the eight hexadecimal digits of language and code page, as "040904E4".
    std::string GetStringValueForKey(const std::string& name, const std::string& key) const;

private:
    std::unique_ptr<char[]> block_;
    bool valid_ = false;
    const uint16_t* translations_ = nullptr;  // pairs of language and code page, in the block
    int count_ = 0;
};

// The path the running program was started from.
std::string OwnExecutablePath();
// The build's "Date", and its "FileVersion" and "Date", through translation entry 0.
std::string ReadOwnDate();
void ReadOwnVersion(std::string& fileVersion, std::string& date);

// The local host's first IPv4 address in host byte order, 0 on failure; a network counts as
// present when that address is neither 0 nor 127.0.0.1.
uint32_t LocalHostAddress();
bool NetworkPresent();

// A GET of `url` with the program's request headers; the body byte for byte, empty on any
// failure (name, connection, an HTTP error status).
std::string HttpGetText(const std::string& url);

// The real network test, version data and HTTP request; what the check shows (its boxes and
// the browser) is left to the window that starts it.
UpdateCheckEnv SystemUpdateCheckSources();

// Starts the background check: a thread that runs CheckForNewVersion silent with `env` and
// posts `message` with the result as wParam to `window`, then ends. A failure of the check
// posts nothing; a failure to start the thread is swallowed.
void StartUpdateThread(HWND window, UINT message, UpdateCheckEnv env);

}  // namespace kavlo
