// Files as the readers and writers see them. Object files are opened for reading only and
// shared, so that the program that owns them may go on reading and writing them meanwhile.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/byte_source.h"
#include "base/errors.h"

namespace kavlo {

// Which file an open file is, whatever name reached it: the device and inode natively, the
// volume serial number and file index on Windows. A name that is made to point elsewhere (a
// link swapped, a file replaced) opens another identity.
struct FileIdentity {
    uint64_t Volume = 0;
    uint64_t Index = 0;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

class InputFile : public ByteSource {
public:
    // Raises EFOpenError ("Cannot open file "%s". %s") when the file cannot be opened for
    // reading (missing, unreadable, a directory), and with kNotARegularFile when it is no
    // regular file (a FIFO, a device), without waiting for one.
    static std::unique_ptr<InputFile> Open(const std::string& path);
    // The time of the file's last change, in the system's own units: only ever compared with
    // another reading of the same file, to tell that it changed.
    virtual int64_t LastWriteTime() const = 0;
    virtual FileIdentity Identity() const = 0;

    // True when the file's size or last write time differs from the one at the open: it was
    // written to while it was read (or it cannot be told any more).
    virtual bool ChangedSinceOpen() const = 0;
};

inline constexpr std::string_view kNotARegularFile = "Not a regular file";

// A file opened for writing, created or emptied. Each call raises EFCreateError ("Cannot
// create file "%s". %s") when the file cannot be created or written; Close reports what the
// last writes could not store. Closed without Close when destroyed.
class OutputFile {
public:
    static std::unique_ptr<OutputFile> Create(const std::string& path);
    virtual ~OutputFile() = default;
    virtual void Write(std::string_view bytes) = 0;
    virtual void Close() = 0;
};

// Creates or replaces the file and writes all bytes in one go. Raises EFCreateError
// ("Cannot create file "%s". %s") when it cannot be created or written.
void WriteWholeFile(const std::string& path, std::string_view bytes);

// Renames `from` to `to`, replacing a file of that name. Raises EFCreateError naming `to`.
void RenameReplacing(const std::string& from, const std::string& to);

// Writes the bytes under a temporary name in the file's folder and then renames that over
// `path`, so that no reader ever sees half a file and a write that fails leaves no file of that
// name behind (and an existing one as it was). Raises EFCreateError naming `path`.
void WriteFileReplacing(const std::string& path, std::string_view bytes);

// One entry of a folder: its name in the folder, and whether it is a folder itself (a link is
// taken as what it leads to).
struct FolderEntry {
    std::string Name;
    bool IsFolder = false;
};

// Whether the name leads to an existing folder.
bool IsFolder(const std::string& path);

// The entries of a folder, without "." and "..", sorted by name (byte order), read in one
// listing. Raises EFOpenError ("Cannot open file "%s". %s") when it cannot be listed.
std::vector<FolderEntry> ListFolder(const std::string& path);

// Makes the folder when it does not exist yet (its parent must); an existing folder is left as
// it is. Raises EKavloError "Cannot create folder "%s". %s" with the system's own text, also
// when the name leads to a file.
void CreateFolder(const std::string& path);

// Whether both names lead to one existing folder (a link, another spelling); false when either
// is no folder.
bool SameExistingFolder(const std::string& a, const std::string& b);

// The full name of `name` in `folder`: joined by the system's separator, unless the folder's
// name ends in one already.
std::string PathInFolder(const std::string& folder, const std::string& name);

// A name beside `path` for writing it under until it is complete: `path` with ".kavlo-",
// the process id and ".tmp" appended.
std::string TemporaryNameBeside(const std::string& path);

// WriteFileReplacing for a file written in pieces (a merge result of many megabytes, object
// by object): the pieces gather in a buffer of a few megabytes and go to the temporary file
// from there, and Commit puts the file in place. Destroyed without Commit (a failed run), it
// removes the temporary file, so `path` stays as it was. Raises EFCreateError naming `path`.
class ReplacingFile {
public:
    explicit ReplacingFile(const std::string& path);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    void Write(std::string_view bytes);
    void Commit();

private:
    void Flush();
    [[noreturn]] void Fail(const EFCreateError& e);

    std::string path_, temporary_;
    std::unique_ptr<OutputFile> file_;
    std::string buffer_;
};

// Whether both names lead to one existing file (a link, another spelling); false when either
// does not exist.
bool SameExistingFile(const std::string& a, const std::string& b);

}  // namespace kavlo
