// Lines of a text held in memory, as the text and XML exports are read: a line ends at CR LF,
// at a lone LF or at a lone CR, and a line break at the very end starts no further (empty)
// line. The lines are views into the text; nothing is copied.
#pragma once
#include <cstddef>
#include <string_view>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kavlo {

// The offset of the first CR or LF in p[0, n), or n. Sixteen bytes are compared at a time
// where SSE2 is there (every x86-64 processor, so both of our builds); the rest byte by byte.
inline size_t FindLineBreak(const char* p, size_t n) {
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr)));
        if (mask) return i + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
    }
#endif
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
