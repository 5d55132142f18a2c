// The bounds-checked byte reader: block-wise reads with every request checked against the end.
#include "base/byte_reader.h"

#include <algorithm>
#include <cstring>

#include "base/errors.h"

namespace kavlo {

ByteReader::ByteReader(ByteSource& file, size_t blockSize)
    : file_(file), size_(file.Size()), blockSize_(blockSize) {}

void ByteReader::Fill(size_t atLeast) {
    const size_t want = std::max(atLeast, blockSize_);
    const uint64_t left = size_ - pos_;
    const size_t n = static_cast<size_t>(std::min<uint64_t>(want, left));
    if (buffer_.size() < n) buffer_.resize(n);
    bufferStart_ = pos_;
    bufferLength_ = file_.ReadAt(pos_, buffer_.data(), n);
}

const uint8_t* ByteReader::Read(size_t n, std::string_view field) {
    if (pos_ > size_ || size_ - pos_ < n) throw EReadError(pos_, field);
    if (pos_ < bufferStart_ || pos_ - bufferStart_ + n > bufferLength_) {
        Fill(n);
        if (bufferLength_ < n) throw EReadError(pos_, field, ReadErrorCode::FileChanged);  // it shrank under us
    }
    const uint8_t* p = buffer_.data() + (pos_ - bufferStart_);
    pos_ += n;
    return p;
}

std::string ByteReader::ReadCString(size_t maxKeep, std::string_view field) {
    std::string text;
    for (;;) {
        if (pos_ >= size_) throw EReadError(pos_, field);
        if (pos_ < bufferStart_ || pos_ >= bufferStart_ + bufferLength_) {
            Fill(1);
            if (bufferLength_ == 0) throw EReadError(pos_, field, ReadErrorCode::FileChanged);
        }
        const uint8_t* begin = buffer_.data() + (pos_ - bufferStart_);
        const size_t avail = bufferLength_ - static_cast<size_t>(pos_ - bufferStart_);
        const void* zero = std::memchr(begin, 0, avail);
        const size_t len = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - begin) : avail;
        if (text.size() < maxKeep)
            text.append(reinterpret_cast<const char*>(begin), std::min(len, maxKeep - text.size()));
        pos_ += len;
        if (zero) {
            ++pos_;
            return text;
        }
    }
}

}  // namespace kavlo
