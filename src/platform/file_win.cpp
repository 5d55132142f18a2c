// Files on Win32: object files opened read-only and shared, read at offsets; a list written in
// one go.
#include <windows.h>

#include <algorithm>

#include "base/errors.h"
#include "platform/file.h"
#include "platform/system_error_win.h"
#include "platform/win_handles_win.h"

namespace kavlo {

namespace {

// The size, last write time and identity of an open file; false when they cannot be had.
bool SizeAndWriteTime(HANDLE h, uint64_t& size, uint64_t& writeTime, FileIdentity* identity = nullptr) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(h, &info)) return false;
    size = static_cast<uint64_t>(info.nFileSizeHigh) << 32 | info.nFileSizeLow;
    writeTime = static_cast<uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32 | info.ftLastWriteTime.dwLowDateTime;
    if (identity)
        *identity = {info.dwVolumeSerialNumber, static_cast<uint64_t>(info.nFileIndexHigh) << 32 | info.nFileIndexLow};
    return true;
}

class WinInputFile final : public InputFile {
public:
    WinInputFile(UniqueFileHandle h, uint64_t size, uint64_t writeTime, FileIdentity identity)
        : h_(std::move(h)), size_(size), writeTime_(writeTime), identity_(identity) {}

    uint64_t Size() const override { return size_; }
    int64_t LastWriteTime() const override { return static_cast<int64_t>(writeTime_); }
    FileIdentity Identity() const override { return identity_; }

    size_t ReadAt(uint64_t offset, void* buffer, size_t n) override {
        size_t done = 0;
        while (done < n) {
            OVERLAPPED ov{};
            const uint64_t at = offset + done;
            ov.Offset = static_cast<DWORD>(at);
            ov.OffsetHigh = static_cast<DWORD>(at >> 32);
            const DWORD want = static_cast<DWORD>(std::min<size_t>(n - done, 1u << 30));
            DWORD got = 0;
            if (!ReadFile(h_.get(), static_cast<char*>(buffer) + done, want, &got, &ov)) {
                if (GetLastError() == ERROR_HANDLE_EOF) break;
                throw EReadError(offset + done, {}, ReadErrorCode::SystemRead);
            }
            if (got == 0) break;
            done += got;
        }
        return done;
    }

    bool ChangedSinceOpen() const override {
        uint64_t size = 0, writeTime = 0;
        return !SizeAndWriteTime(h_.get(), size, writeTime) || size != size_ || writeTime != writeTime_;
    }

private:
    UniqueFileHandle h_;
    uint64_t size_;
    uint64_t writeTime_;
    FileIdentity identity_;
};

}  // namespace

std::unique_ptr<InputFile> InputFile::Open(const std::string& path) {
    // Shared for reading and writing: the Navision client may hold the file open.
    UniqueFileHandle h(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!h) throw EFOpenError(path, SystemErrorText(GetLastError()));
    // A pipe, a console or a device such as NUL has no size to read up to.
    if (GetFileType(h.get()) != FILE_TYPE_DISK) throw EFOpenError(path, std::string(kNotARegularFile));
    uint64_t size = 0, writeTime = 0;
    FileIdentity identity;
    if (!SizeAndWriteTime(h.get(), size, writeTime, &identity)) throw EFOpenError(path, SystemErrorText(GetLastError()));
    return std::make_unique<WinInputFile>(std::move(h), size, writeTime, identity);
}

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<FolderEntry> ListFolder(const std::string& path) {
    WIN32_FIND_DATAA found{};
    // Without the short names, and in large batches: a folder of thousands of object files.
    UniqueFindHandle h(FindFirstFileExA(PathInFolder(path, "*").c_str(), FindExInfoBasic, &found,
                                        FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    std::vector<FolderEntry> entries;
    if (!h) {
        const DWORD err = GetLastError();
        // The empty root of a drive has no entry at all, not even ".".
        if (err == ERROR_FILE_NOT_FOUND && IsFolder(path)) return entries;
        throw EFOpenError(path, SystemErrorText(err));
    }
    for (;;) {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") entries.push_back({name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
        if (FindNextFileA(h.get(), &found)) continue;
        const DWORD err = GetLastError();
        if (err == ERROR_NO_MORE_FILES) break;
        throw EFOpenError(path, SystemErrorText(err));
    }
    std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) { return a.Name < b.Name; });
    return entries;
}

void WriteWholeFile(const std::string& path, std::string_view bytes) {
    UniqueFileHandle h(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                   nullptr));
    if (!h) throw EFCreateError(path, SystemErrorText(GetLastError()));
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
        DWORD put = 0;
        if (!WriteFile(h.get(), bytes.data() + done, want, &put, nullptr))
            throw EFCreateError(path, SystemErrorText(GetLastError()));
        done += put;
    }
}

void RenameReplacing(const std::string& from, const std::string& to) {
    if (!MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING))
        throw EFCreateError(to, SystemErrorText(GetLastError()));
}

}  // namespace kavlo
