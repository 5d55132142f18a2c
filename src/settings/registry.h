// The registry seam: one key of a hierarchical store of named, typed values. On Windows it is
// the current user's hive (registry_win.cpp); tests and the native build use the in-memory
// store (registry_memory.h). Above the raw seam sit the typed reads and writes that the
// settings use, with one encoding per kind of value.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/errors.h"

namespace kavlo {

// Value types, numbered as the Win32 REG_* constants so that they pass through unchanged.
// A stored value may carry any number; these are the ones we name.
enum class RegType : uint32_t {
    None = 0,
    Sz = 1,
    ExpandSz = 2,
    Binary = 3,
    DWord = 4,
    DWordBigEndian = 5,
    MultiSz = 7,
    QWord = 11,
};

// KEY_READ | KEY_WRITE: the settings key is opened for both when loading and when saving.
inline constexpr uint32_t kKeyReadWrite = 0x2001F;

struct RegValue {
    RegType type = RegType::None;
    std::string data;  // the value's bytes as stored (a string's terminating NUL included)
};

// Any failure of the store: a key that cannot be opened, a value that cannot be read or
// written, or a value of another type or size than the reader expects. The settings code
// catches it; it never reaches the user.
class ERegistryError : public EKavloError {
public:
    using EKavloError::EKavloError;
};

class RegistryKey {
public:
    virtual ~RegistryKey() = default;
    // nullopt when the value does not exist; ERegistryError when it cannot be read.
    virtual std::optional<RegValue> Query(std::string_view name) = 0;
    // Creates or replaces the value; ERegistryError when it cannot be written.
    virtual void Set(std::string_view name, RegType type, std::string_view data) = 0;
};

class Registry {
public:
    virtual ~Registry() = default;
    // Opens the key, creating it (and its parents) when it does not exist. keyPath is relative
    // to the store's root; a leading backslash is allowed. ERegistryError when that fails.
    virtual std::unique_ptr<RegistryKey> OpenOrCreateKey(std::string_view keyPath,
                                                         uint32_t access) = 0;
};

// Typed reads: nullopt when the value is absent, ERegistryError when it has another type or
// size than its kind allows.
// string: REG_SZ, or REG_EXPAND_SZ taken as it stands (not expanded); text up to the first NUL.
std::optional<std::string> ReadString(RegistryKey& key, std::string_view name);
// integer: REG_DWORD, 4 bytes, signed.
std::optional<int32_t> ReadInteger(RegistryKey& key, std::string_view name);
// boolean: an integer, true when non-zero.
std::optional<bool> ReadBool(RegistryKey& key, std::string_view name);
// date: REG_BINARY of exactly 8 bytes, a little-endian IEEE-754 double (a day serial).
std::optional<double> ReadDate(RegistryKey& key, std::string_view name);

// Typed writes, the inverse of the reads. A string is written up to its first NUL, with the
// terminating NUL; a boolean as 0 or 1.
void WriteString(RegistryKey& key, std::string_view name, std::string_view value);
void WriteInteger(RegistryKey& key, std::string_view name, int32_t value);
void WriteBool(RegistryKey& key, std::string_view name, bool value);
void WriteDate(RegistryKey& key, std::string_view name, double value);

// The little-endian encodings, shared with tests that check raw bytes.
std::string EncodeDWord(uint32_t value);
std::string EncodeDouble(double value);

}  // namespace kavlo
