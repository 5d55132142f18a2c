// Folders on Win32: attributes, CreateDirectoryA, FindFirstFileA and the folder's identity
// through a handle opened with backup semantics (the only way to open a folder).
#include <windows.h>

#include "base/errors.h"
#include "platform/folder.h"
#include "platform/system_error_win.h"
#include "platform/win_handles_win.h"

namespace kavlo {

namespace {

struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { FindClose(h); }
};
using UniqueFindHandle = UniqueHandle<FindHandleTraits>;

bool FolderIdentity(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
    UniqueFileHandle h(CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return h && GetFileInformationByHandle(h.get(), &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool IsFolder(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

void CreateFolder(const std::string& path) {
    if (CreateDirectoryA(path.c_str(), nullptr)) return;
    const DWORD err = GetLastError();
    if (err == ERROR_ALREADY_EXISTS && IsFolder(path)) return;
    throw EKavloError("Cannot create folder \"" + path + "\". " + SystemErrorText(err));
}

std::vector<std::string> FolderFileNames(const std::string& path) {
    const std::string prefix = path.empty() || path.back() == '/' || path.back() == '\\' ? path : path + "\\";
    WIN32_FIND_DATAA found{};
    UniqueFindHandle h(FindFirstFileA((prefix + "*").c_str(), &found));
    if (!h) throw EFOpenError(path, SystemErrorText(GetLastError()));
    std::vector<std::string> names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileA(h.get(), &found));
    return names;
}

bool SameExistingFolder(const std::string& a, const std::string& b) {
    BY_HANDLE_FILE_INFORMATION ia{}, ib{};
    return FolderIdentity(a, ia) && FolderIdentity(b, ib) && ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
           ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
}

}  // namespace kavlo
