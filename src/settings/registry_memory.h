// A registry held in memory: the store of the native build and of tests. Like the real one,
// key paths and value names compare without regard to ASCII case, and a key opened stays
// valid only as long as the store. Tests can make it fail at a chosen point, and can see the
// order in which values were read and written.
#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "settings/registry.h"

namespace kavlo {

class MemoryRegistry final : public Registry {
public:
    std::unique_ptr<RegistryKey> OpenOrCreateKey(std::string_view keyPath,
                                                 uint32_t access) override;

    // Failure injection: opening any key fails; querying or setting the named value fails.
    void FailOpen(bool fail = true) { failOpen_ = fail; }
    void FailReadAt(std::string_view valueName) { failRead_ = Fold(valueName); }
    void FailWriteAt(std::string_view valueName) { failWrite_ = Fold(valueName); }

    // Inspection, without going through a key and without being logged.
    bool KeyExists(std::string_view keyPath) const;
    std::optional<RegValue> Peek(std::string_view keyPath, std::string_view valueName) const;
    // The value names queried and set, in order, as the callers spelled them; the access
    // mask of the last successful open.
    const std::vector<std::string>& Reads() const { return reads_; }
    const std::vector<std::string>& Writes() const { return writes_; }
    uint32_t LastAccess() const { return lastAccess_; }
    void ClearLogs() { reads_.clear(); writes_.clear(); }

private:
    friend class MemoryRegistryKey;
    using Values = std::map<std::string, RegValue>;  // by folded name
    static std::string Fold(std::string_view s);
    static std::string FoldPath(std::string_view keyPath);

    std::map<std::string, Values> keys_;  // by folded path
    std::optional<std::string> failRead_, failWrite_;
    bool failOpen_ = false;
    std::vector<std::string> reads_, writes_;
    uint32_t lastAccess_ = 0;
};

}  // namespace kavlo
