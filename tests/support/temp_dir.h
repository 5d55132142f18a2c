// A fresh directory for one test's files, removed with everything in it at the end.
#pragma once
#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>

namespace kavlo::testing {

class TempDir {
public:
    TempDir() {
        // Several test processes run at once: a name another one took is passed over.
        static std::atomic<int> counter{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        do {
            path_ = std::filesystem::temp_directory_path() /
                    ("kavlo-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
        } while (!std::filesystem::create_directory(path_));
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string File(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace kavlo::testing
