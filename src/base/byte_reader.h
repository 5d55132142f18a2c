// A bounds-checked, buffered reader over a file (any ByteSource): every read is checked against
// the end of the file before it is used, and the file is read in large blocks. Reading past the
// end raises EReadError ("Stream read error").
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/byte_source.h"

namespace kavlo {

class ByteReader {
public:
    explicit ByteReader(ByteSource& file, size_t blockSize = size_t{1} << 16);

    uint64_t Size() const { return size_; }
    uint64_t Position() const { return pos_; }
    uint64_t Remaining() const { return pos_ < size_ ? size_ - pos_ : 0; }
    // Moves to an absolute position; past the end is allowed, the next read then fails.
    void Seek(uint64_t pos) { pos_ = pos; }
    void Skip(uint64_t n) { pos_ = n > UINT64_MAX - pos_ ? UINT64_MAX : pos_ + n; }
    // Moves to the next multiple of 4 from the start of the file.
    void AlignTo4() { pos_ = (pos_ + 3) & ~uint64_t{3}; }

    // n bytes at the position, valid until the next call; raises EReadError when fewer remain,
    // naming the position and `field`, what is being read (a literal).
    const uint8_t* Read(size_t n, std::string_view field = {});
    uint8_t ReadByte(std::string_view field = {}) { return *Read(1, field); }
    // The bytes up to a 0 byte, which is consumed too; of a longer text only the first
    // maxKeep bytes are kept. Raises EReadError when the file ends first.
    std::string ReadCString(size_t maxKeep, std::string_view field = {});

private:
    void Fill(size_t atLeast);

    ByteSource& file_;
    uint64_t size_;
    uint64_t pos_ = 0;
    std::vector<uint8_t> buffer_;
    uint64_t bufferStart_ = 0;
    size_t bufferLength_ = 0;
    size_t blockSize_;
};

inline int32_t LittleInt32(const uint8_t* p) {
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                                static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}
inline uint32_t LittleUInt32(const uint8_t* p) { return static_cast<uint32_t>(LittleInt32(p)); }

}  // namespace kavlo
