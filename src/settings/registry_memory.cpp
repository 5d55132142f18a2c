// The in-memory registry of the native build and the tests, with its fault injection.
#include "settings/registry_memory.h"

namespace kavlo {

class MemoryRegistryKey final : public RegistryKey {
public:
    MemoryRegistryKey(MemoryRegistry& store, std::string path) : store_(store), path_(std::move(path)) {}

    std::optional<RegValue> Query(std::string_view name) override {
        store_.reads_.emplace_back(name);
        const std::string folded = MemoryRegistry::Fold(name);
        if (store_.failRead_ == folded)
            throw ERegistryError("Cannot read registry value \"" + std::string(name) + "\"");
        const auto& values = store_.keys_[path_];
        const auto it = values.find(folded);
        if (it == values.end()) return std::nullopt;
        return it->second;
    }

    void Set(std::string_view name, RegType type, std::string_view data) override {
        store_.writes_.emplace_back(name);
        const std::string folded = MemoryRegistry::Fold(name);
        if (store_.failWrite_ == folded)
            throw ERegistryError("Cannot write registry value \"" + std::string(name) + "\"");
        store_.keys_[path_][folded] = RegValue{type, std::string(data)};
    }

private:
    MemoryRegistry& store_;
    std::string path_;
};

std::string MemoryRegistry::Fold(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string MemoryRegistry::FoldPath(std::string_view keyPath) {
    while (!keyPath.empty() && keyPath.front() == '\\') keyPath.remove_prefix(1);
    return Fold(keyPath);
}

std::unique_ptr<RegistryKey> MemoryRegistry::OpenOrCreateKey(std::string_view keyPath,
                                                             uint32_t access) {
    if (failOpen_) throw ERegistryError("Cannot open registry key \"" + std::string(keyPath) + "\"");
    const std::string path = FoldPath(keyPath);
    keys_[path];
    lastAccess_ = access;
    return std::make_unique<MemoryRegistryKey>(*this, path);
}

bool MemoryRegistry::KeyExists(std::string_view keyPath) const {
    return keys_.count(FoldPath(keyPath)) != 0;
}

std::optional<RegValue> MemoryRegistry::Peek(std::string_view keyPath,
                                             std::string_view valueName) const {
    const auto k = keys_.find(FoldPath(keyPath));
    if (k == keys_.end()) return std::nullopt;
    const auto v = k->second.find(Fold(valueName));
    if (v == k->second.end()) return std::nullopt;
    return v->second;
}

}  // namespace kavlo
