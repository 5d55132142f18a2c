// Bytes that can be read at any offset: what the byte reader reads from. Files implement it
// (platform/file.h); tests may implement it over memory.
#pragma once
#include <cstddef>
#include <cstdint>

namespace kavlo {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual uint64_t Size() const = 0;
    // Reads up to n bytes at offset; returns how many were read (less only at the end). An I/O
    // failure raises EReadError.
    virtual size_t ReadAt(uint64_t offset, void* buffer, size_t n) = 0;
};

}  // namespace kavlo
