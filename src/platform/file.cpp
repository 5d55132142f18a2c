// What both systems' files share: a write that replaces a file whole, and whether two names
// lead to one file.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <memory>
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

std::string TemporaryNameBeside(const std::string& path) {
    return path + ".kavlo-" + std::to_string(ProcessId()) + ".tmp";
}

void WriteWholeFile(const std::string& path, std::string_view bytes) {
    const std::unique_ptr<OutputFile> file = OutputFile::Create(path);
    file->Write(bytes);
    file->Close();
}

ReplacingFile::ReplacingFile(const std::string& path)
    : path_(path), temporary_(TemporaryNameBeside(path)) {
    try {
        file_ = OutputFile::Create(temporary_);
    } catch (const EFCreateError& e) {
        Fail(e);
    }
}

ReplacingFile::~ReplacingFile() {
    if (!file_) return;
    file_.reset();
    std::remove(temporary_.c_str());
}

void ReplacingFile::Write(std::string_view bytes) {
    // Small pieces gather in the buffer, which grows as they come (a file written in one piece
    // takes no buffer of megabytes); a large piece goes to the file at once.
    constexpr size_t kBuffer = size_t{4} << 20;
    if (buffer_.size() + bytes.size() > kBuffer) Flush();
    if (bytes.size() >= kBuffer / 4) {
        try {
            file_->Write(bytes);
        } catch (const EFCreateError& e) {
            Fail(e);
        }
        return;
    }
    buffer_ += bytes;
}

void ReplacingFile::Flush() {
    try {
        file_->Write(buffer_);
    } catch (const EFCreateError& e) {
        Fail(e);
    }
    buffer_.clear();
}

void ReplacingFile::Commit() {
    Flush();
    try {
        file_->Close();
        file_.reset();
        RenameReplacing(temporary_, path_);
    } catch (const EFCreateError& e) {
        Fail(e);
    }
}

// The error names the temporary file; the user asked for `path`. The temporary file goes.
void ReplacingFile::Fail(const EFCreateError& e) {
    file_.reset();
    std::remove(temporary_.c_str());
    const std::string prefix = EFCreateError(temporary_, "").what();
    const std::string text = e.what();
    throw EFCreateError(path_, text.starts_with(prefix) ? text.substr(prefix.size()) : text);
}

void WriteFileReplacing(const std::string& path, std::string_view bytes) {
    ReplacingFile file(path);
    file.Write(bytes);
    file.Commit();
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
