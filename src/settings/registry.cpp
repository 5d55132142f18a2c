// The typed reads and writes above the raw registry seam.
#include "settings/registry.h"

#include <bit>

namespace kavlo {

namespace {

[[noreturn]] void WrongKind(std::string_view name, const char* kind) {
    throw ERegistryError("Registry value \"" + std::string(name) + "\" is not " + kind);
}

uint64_t LittleEndian(std::string_view bytes) {
    uint64_t v = 0;
    for (size_t i = bytes.size(); i-- > 0;) v = (v << 8) | static_cast<unsigned char>(bytes[i]);
    return v;
}

std::string ToLittleEndian(uint64_t v, size_t n) {
    std::string out(n, '\0');
    for (size_t i = 0; i < n; ++i) out[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    return out;
}

}  // namespace

std::string EncodeDWord(uint32_t value) { return ToLittleEndian(value, 4); }

std::string EncodeDouble(double value) { return ToLittleEndian(std::bit_cast<uint64_t>(value), 8); }

std::optional<std::string> ReadString(RegistryKey& key, std::string_view name) {
    auto v = key.Query(name);
    if (!v) return std::nullopt;
    if (v->type != RegType::Sz && v->type != RegType::ExpandSz) WrongKind(name, "a string");
    // A stored string need not be terminated; one that is ends at its first NUL.
    const size_t end = v->data.find('\0');
    if (end != std::string::npos) v->data.resize(end);
    return std::move(v->data);
}

std::optional<int32_t> ReadInteger(RegistryKey& key, std::string_view name) {
    auto v = key.Query(name);
    if (!v) return std::nullopt;
    if (v->type != RegType::DWord || v->data.size() != 4) WrongKind(name, "a 32-bit integer");
    return static_cast<int32_t>(static_cast<uint32_t>(LittleEndian(v->data)));
}

std::optional<bool> ReadBool(RegistryKey& key, std::string_view name) {
    auto v = ReadInteger(key, name);
    if (!v) return std::nullopt;
    return *v != 0;
}

std::optional<double> ReadDate(RegistryKey& key, std::string_view name) {
    auto v = key.Query(name);
    if (!v) return std::nullopt;
    if (v->type != RegType::Binary || v->data.size() != 8) WrongKind(name, "an 8-byte date");
    return std::bit_cast<double>(LittleEndian(v->data));
}

void WriteString(RegistryKey& key, std::string_view name, std::string_view value) {
    std::string data(value.substr(0, value.find('\0')));
    data.push_back('\0');
    key.Set(name, RegType::Sz, data);
}

void WriteInteger(RegistryKey& key, std::string_view name, int32_t value) {
    key.Set(name, RegType::DWord, EncodeDWord(static_cast<uint32_t>(value)));
}

void WriteBool(RegistryKey& key, std::string_view name, bool value) {
    WriteInteger(key, name, value ? 1 : 0);
}

void WriteDate(RegistryKey& key, std::string_view name, double value) {
    key.Set(name, RegType::Binary, EncodeDouble(value));
}

}  // namespace kavlo
