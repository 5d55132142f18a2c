// Lines of a text held in memory, as the text and XML exports are read: a line ends at CR LF,
// at a lone LF or at a lone CR, and a line break at the very end starts no further (empty)
// line. The lines are views into the text; nothing is copied.
#pragma once
#include <cstdint>
#include <cstring>
#include <string_view>

namespace kavlo {

// The offset of the first CR or LF in p[0, n), or n. Eight bytes are tested at a time: a byte
// of the word equals CR or LF exactly when the word XORed with that byte repeated has a zero
// byte, which the classic (x - 0x01..) & ~x & 0x80.. test finds without a branch per byte.
inline size_t FindLineBreak(const char* p, size_t n) {
    constexpr uint64_t kOnes = 0x0101010101010101ULL;
    constexpr uint64_t kHighs = 0x8080808080808080ULL;
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t w;
        std::memcpy(&w, p + i, 8);
        const uint64_t lf = w ^ (kOnes * '\n');
        const uint64_t cr = w ^ (kOnes * '\r');
        if ((((lf - kOnes) & ~lf) | ((cr - kOnes) & ~cr)) & kHighs) break;
    }
    for (; i < n; ++i)
        if (p[i] == '\n' || p[i] == '\r') return i;
    return n;
}

class LineSplitter {
public:
    explicit LineSplitter(std::string_view text) : text_(text) {}

    // The next line without its line break; false when the text is used up.
    bool Next(std::string_view& line) {
        if (pos_ >= text_.size()) return false;
        const char* base = text_.data() + pos_;
        const size_t left = text_.size() - pos_;
        const size_t len = FindLineBreak(base, left);
        line = std::string_view(base, len);
        size_t next = pos_ + len;
        if (next < text_.size()) {
            // CR LF is one break; a lone CR or a lone LF is one too.
            next += text_[next] == '\r' && next + 1 < text_.size() && text_[next + 1] == '\n' ? 2 : 1;
        }
        pos_ = next;
        return true;
    }

private:
    std::string_view text_;
    size_t pos_ = 0;
};

}  // namespace kavlo
