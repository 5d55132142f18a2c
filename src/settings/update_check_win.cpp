// The update check's Windows side: the build's version data, the network test, one HTTP GET
// through WinINet, and the thread that runs the check at start.
// Winsock 2 before <windows.h>, which would bring in the first Winsock's declarations.
#include <winsock2.h>

#include "settings/update_check_win.h"

#include <wininet.h>

#include <cstdio>

#include "base/errors.h"
#include "platform/win_handles_win.h"

namespace kavlo {

TVersionInfo::TVersionInfo(const std::string& fileName) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(fileName.c_str(), &handle);
    if (size == 0) return;
    block_ = std::make_unique<char[]>(size);
    if (!GetFileVersionInfoA(fileName.c_str(), 0, size, block_.get())) {
        block_.reset();
        return;
    }
    valid_ = true;
    void* table = nullptr;
    UINT length = 0;
    if (VerQueryValueA(block_.get(), "\\VarFileInfo\\Translation", &table, &length) && table) {
        translations_ = static_cast<const uint16_t*>(table);
        count_ = static_cast<int>(length / 4);
    }
}

uint32_t TVersionInfo::GetTranslation(int index) const {
    if (!valid_ || index < 0 || index >= count_)
        throw EKavloError("List index out of bounds (" + std::to_string(index) + ")");
    return translations_[2 * index] | static_cast<uint32_t>(translations_[2 * index + 1]) << 16;
}

std::string TVersionInfo::GetStringValue(const std::string& name, int translation) const {
    const uint32_t entry = GetTranslation(translation);
    return GetStringValueFor(name, static_cast<uint16_t>(entry & 0xFFFF), static_cast<uint16_t>(entry >> 16));
}

std::string TVersionInfo::GetStringValueFor(const std::string& name, uint16_t language, uint16_t codePage) const {
    char key[16];
    std::snprintf(key, sizeof key, "%.4x%.4x", language, codePage);
    return GetStringValueForKey(name, key);
}

std::string TVersionInfo::GetStringValueForKey(const std::string& name, const std::string& key) const {
    if (!valid_) return {};
    const std::string path = "\\StringFileInfo\\" + key + "\\" + name;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block_.get(), path.c_str(), &value, &length) || !value) return {};
    return std::string(static_cast<const char*>(value));
}

std::string OwnExecutablePath() {
    char path[MAX_PATH * 4] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    return std::string(path, n < sizeof path ? n : 0);
}

std::string ReadOwnDate() { return TVersionInfo(OwnExecutablePath()).GetStringValue("Date", 0); }

void ReadOwnVersion(std::string& fileVersion, std::string& date) {
    const TVersionInfo info(OwnExecutablePath());
    fileVersion = info.GetStringValue("FileVersion", 0);
    date = info.GetStringValue("Date", 0);
}

uint32_t LocalHostAddress() {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 0), &data) != 0) return 0;
    uint32_t address = 0;
    if (const hostent* host = gethostbyname(""); host && host->h_addr_list && host->h_addr_list[0]) {
        uint32_t network = 0;
        memcpy(&network, host->h_addr_list[0], sizeof network);
        address = ntohl(network);
    }
    WSACleanup();
    return address;
}

bool NetworkPresent() {
    const uint32_t address = LocalHostAddress();
    return address != 0 && address != 0x7F000001;
}

namespace {

struct InternetCloser {
    void operator()(HINTERNET h) const { InternetCloseHandle(h); }
};
using UniqueInternetHandle = UniqueHandle<NullHandleTraits<HINTERNET, InternetCloser>>;

}  // namespace

std::string HttpGetText(const std::string& url) {
    // One client per request: no proxy, redirects followed, cookies accepted, no cache.
    UniqueInternetHandle session(InternetOpenA("Mozilla/3.0", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    if (!session) return {};
    static const char kHeaders[] = "Content-Type: text/html\r\nAccept: text/html, */*\r\n";
    UniqueInternetHandle request(InternetOpenUrlA(session.get(), url.c_str(), kHeaders,
                                                  static_cast<DWORD>(sizeof kHeaders - 1),
                                                  INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                                                      INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_UI,
                                                  0));
    if (!request) return {};
    DWORD status = 0, size = sizeof status;
    if (!HttpQueryInfoA(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr) ||
        status >= 300)
        return {};
    std::string body;
    char buffer[8192];
    DWORD read = 0;
    while (true) {
        if (!InternetReadFile(request.get(), buffer, sizeof buffer, &read)) return {};
        if (read == 0) break;
        body.append(buffer, read);
    }
    return body;
}

UpdateCheckEnv SystemUpdateCheckSources() {
    UpdateCheckEnv env;
    env.networkPresent = NetworkPresent;
    env.ownDate = ReadOwnDate;
    env.httpGetText = HttpGetText;
    return env;
}

namespace {

// TUpdateThread: the window to notify, the message to post, and what the check touches. It
// is created suspended, frees itself when its work ends, and is never waited for.
struct TUpdateThread {
    HWND window;
    UINT message;
    UpdateCheckEnv env;

    static DWORD WINAPI Run(void* self) {
        std::unique_ptr<TUpdateThread> t(static_cast<TUpdateThread*>(self));
        try {
            const int result = CheckForNewVersion(t->env, true);
            PostMessageA(t->window, t->message, static_cast<WPARAM>(static_cast<uint32_t>(result)), 0);
        } catch (...) {
            // a failed check posts nothing
        }
        return 0;
    }
};

}  // namespace

void StartUpdateThread(HWND window, UINT message, UpdateCheckEnv env) {
    try {
        auto t = std::make_unique<TUpdateThread>(TUpdateThread{window, message, std::move(env)});
        UniqueKernelHandle thread(CreateThread(nullptr, 0, TUpdateThread::Run, t.get(), CREATE_SUSPENDED, nullptr));
        if (!thread) return;
        t.release();  // the thread frees it
        ResumeThread(thread.get());
    } catch (...) {
        // starting the check is best effort
    }
}

}  // namespace kavlo
