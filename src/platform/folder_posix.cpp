// Folders on POSIX: stat, mkdir and readdir.
#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "base/errors.h"
#include "platform/folder.h"

namespace kavlo {

namespace {

bool StatFolder(const std::string& path, struct stat& st) {
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

bool IsFolder(const std::string& path) {
    struct stat st {};
    return StatFolder(path, st);
}

void CreateFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0777) == 0) return;
    const int err = errno;
    if (err == EEXIST && IsFolder(path)) return;
    throw EKavloError("Cannot create folder \"" + path + "\". " + std::strerror(err));
}

std::vector<std::string> FolderFileNames(const std::string& path) {
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(path.c_str()), ::closedir);
    if (!dir) throw EFOpenError(path, std::strerror(errno));
    std::vector<std::string> names;
    const std::string prefix = path.empty() || path.back() == '/' ? path : path + "/";
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        struct stat st {};
        // A name that cannot be looked at (a link to nothing) is counted as a file: it is
        // there, and a file of its name cannot be made beside it.
        if (::stat((prefix + name).c_str(), &st) == 0 && S_ISDIR(st.st_mode)) continue;
        names.push_back(name);
    }
    return names;
}

bool SameExistingFolder(const std::string& a, const std::string& b) {
    struct stat sa {}, sb {};
    return StatFolder(a, sa) && StatFolder(b, sb) && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

}  // namespace kavlo
