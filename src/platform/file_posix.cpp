// Files on POSIX: object files opened read-only and read at offsets; a list written in one go.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <algorithm>

#include "base/errors.h"
#include "platform/file.h"

namespace kavlo {

namespace {

bool SameTime(const struct timespec& a, const struct timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

class PosixInputFile final : public InputFile {
public:
    PosixInputFile(int fd, const struct stat& st)
        : fd_(fd), size_(static_cast<uint64_t>(st.st_size)), modified_(st.st_mtim),
          identity_{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)} {}
    ~PosixInputFile() override { ::close(fd_); }
    PosixInputFile(const PosixInputFile&) = delete;
    PosixInputFile& operator=(const PosixInputFile&) = delete;

    uint64_t Size() const override { return size_; }
    int64_t LastWriteTime() const override {
        return static_cast<int64_t>(modified_.tv_sec) * 1000000000 + modified_.tv_nsec;
    }
    FileIdentity Identity() const override { return identity_; }

    size_t ReadAt(uint64_t offset, void* buffer, size_t n) override {
        size_t done = 0;
        while (done < n) {
            const ssize_t got = ::pread(fd_, static_cast<char*>(buffer) + done, n - done,
                                        static_cast<off_t>(offset + done));
            if (got < 0) {
                if (errno == EINTR) continue;
                throw EReadError(offset + done, {}, ReadErrorCode::SystemRead);
            }
            if (got == 0) break;
            done += static_cast<size_t>(got);
        }
        return done;
    }

    bool ChangedSinceOpen() const override {
        struct stat st {};
        return ::fstat(fd_, &st) != 0 || static_cast<uint64_t>(st.st_size) != size_ ||
               !SameTime(st.st_mtim, modified_);
    }

private:
    int fd_;
    uint64_t size_;
    struct timespec modified_;
    FileIdentity identity_;
};

}  // namespace

std::unique_ptr<InputFile> InputFile::Open(const std::string& path) {
    // Without O_NONBLOCK, opening a FIFO waits for a writer, forever in a pipeline; on a
    // regular file the flag changes nothing.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) throw EFOpenError(path, std::strerror(errno));
    struct stat st {};
    const int statError = ::fstat(fd, &st) != 0 ? errno : 0;
    if (statError != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        // A FIFO, a device or a socket has no size to read up to.
        throw EFOpenError(path, statError != 0         ? std::strerror(statError)
                                : S_ISDIR(st.st_mode) ? std::strerror(EISDIR)
                                                      : std::string(kNotARegularFile));
    }
    return std::make_unique<PosixInputFile>(fd, st);
}

bool IsFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::vector<FolderEntry> ListFolder(const std::string& path) {
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(path.c_str()), ::closedir);
    if (!dir) throw EFOpenError(path, std::strerror(errno));
    std::vector<FolderEntry> entries;
    for (;;) {
        errno = 0;
        const struct dirent* e = ::readdir(dir.get());
        if (!e) {
            if (errno != 0) throw EFOpenError(path, std::strerror(errno));
            break;
        }
        const std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        bool folder = e->d_type == DT_DIR;
        // The file system did not say, or the entry is a link: ask for what it leads to.
        if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) {
            struct stat st {};
            folder = ::fstatat(::dirfd(dir.get()), e->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
        }
        entries.push_back({name, folder});
    }
    std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) { return a.Name < b.Name; });
    return entries;
}

void WriteWholeFile(const std::string& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) throw EFCreateError(path, std::strerror(errno));
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            ::close(fd);
            throw EFCreateError(path, std::strerror(err));
        }
        done += static_cast<size_t>(put);
    }
    if (::close(fd) != 0) throw EFCreateError(path, std::strerror(errno));
}

void RenameReplacing(const std::string& from, const std::string& to) {
    if (std::rename(from.c_str(), to.c_str()) != 0) throw EFCreateError(to, std::strerror(errno));
}

}  // namespace kavlo
