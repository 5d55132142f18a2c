// Lines of a text file, as the text and XML exports are read: a line ends at CR LF, at a lone LF
// or at a lone CR, and a line break at the very end starts no further (empty) line. The file is
// read in blocks into one reused buffer, so that memory stays with the longest few lines and
// not with the file.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "base/byte_source.h"

namespace kavlo {

// The line without the blanks and tabs at either end.
inline std::string_view TrimSpaces(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

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

// The first offset i in [from, end) where p[i] is c and p[i - 1] a CR or an LF, or end; from
// must be at least 1. Up to 63 bytes past end are loaded (never used), so the caller keeps that
// much room behind its data. Sixteen bytes are compared at a time where SSE2 is there, 32
// where the processor has AVX2 and the build may use it (not on Windows, whose compiler does
// not align the stack for 32-byte values).
size_t FindByteAfterBreak(const char* p, size_t from, size_t end, char c);

// The LF and the CR bytes among the 64 at p, as bits (bit i for p[i]).
struct LineBreakBits {
    uint64_t lf = 0, cr = 0;
};
inline LineBreakBits FindLineBreaks64(const char* p) {
    LineBreakBits bits;
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    for (int k = 0; k < 4; ++k) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
        bits.lf |= static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, lf)))) << (16 * k);
        bits.cr |= static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, cr)))) << (16 * k);
    }
#else
    for (int i = 0; i < 64; ++i) {
        if (p[i] == '\n') bits.lf |= uint64_t{1} << i;
        if (p[i] == '\r') bits.cr |= uint64_t{1} << i;
    }
#endif
    return bits;
}

// The lines of a text held in memory (an object's text read back from its file), each
// without its line break.
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

// Reads the lines of a file from a given offset up to the file's size at the start. The last
// `keep` lines read stay at hand (Recent); older ones are given up when the buffer is refilled.
// A file that turns out shorter than its size raises EReadError ("Stream read error"): it
// shrank while it was read.
class LineReader {
public:
    explicit LineReader(ByteSource& file, uint64_t from = 0, size_t keep = 1, size_t blockSize = kBlockSize);

    // The next line without its line break; false when the file is used up.
    bool Next(std::string_view& line) {
        // The breaks are found 64 bytes at a time and taken one by one from the bits.
        for (;;) {
            if (bits_ != 0) {
                const size_t brk = bitsAt_ + static_cast<size_t>(__builtin_ctzll(bits_));
                // A CR at the end of the bytes read needs the next byte: is it CR LF?
                if (brk + 1 == end_ && buf_[brk] == '\r' && fileAt_ < size_) return NextSlow(brk, line);
                bits_ &= bits_ - 1;
                // The bits hold no CR of a CR LF, so the LF ends such a line.
                const size_t lineEnd = buf_[brk] == '\n' && brk > pos_ && buf_[brk - 1] == '\r' ? brk - 1 : brk;
                line = std::string_view(buf_.get() + pos_, lineEnd - pos_);
                Remember(line);
                ended_ = true;
                pos_ = brk + 1;
                return true;
            }
            if (bitsAt_ + 64 >= end_) return NextSlow(end_, line);
            bitsAt_ += 64;
            bits_ = BitsAt(bitsAt_);
        }
    }

    // True when no line is left to read.
    bool AtEnd() const { return pos_ >= end_ && fileAt_ >= size_; }

    // From now on a line longer than a block is given by Next in pieces of a block or more
    // each, so that no line is ever held whole; LineEnded tells whether the text last given
    // ended its line. For a reader that keeps one line only.
    void GiveLongLinesInPieces() { pieces_ = keep_ == 1; }
    bool LineEnded() const { return ended_; }

    // Passes over lines that do not begin with c, without reading them, and stops before one
    // that does, or earlier: before the last line of the bytes read, whose end is not yet
    // known; true when it passed any. A line begins with c where c stands first in the
    // bytes or follows a line break, so only the bytes equal to c are looked at closely, not
    // every break. Lines passed over are not at hand (Recent) after it.
    bool SkipLinesNotBeginningWith(char c) {
        if (pos_ >= end_ || buf_[pos_] == c) return false;
        size_t next = FindByteAfterBreak(buf_.get(), pos_ + 1, end_, c);
        if (next == end_) {
            // None here: on to the start of the last line, after the last break. A CR that ends
            // the bytes read may be the first half of a CR LF, so it is left to Next.
            size_t q = end_;
            if (buf_[q - 1] == '\r' && fileAt_ < size_) --q;
            while (q > pos_ && buf_[q - 1] != '\n' && buf_[q - 1] != '\r') --q;
            if (q == pos_) return false;
            next = q;
        }
        pos_ = next;
        bitsAt_ = pos_;
        bits_ = BitsAt(pos_);
        held_ = 0;
        return true;
    }

    // The text of the line `back` lines before the last one read (0: the last one); back must
    // be below `keep`, and as many lines must have been read since the last skip.
    std::string_view Recent(size_t back) const {
        const Span& s = recent_[(count_ - 1 - back) & mask_];
        return {buf_.get() + (s.at - bufAt_), s.length};
    }
    // The file offset where that line starts, and where the line after the last one read does.
    uint64_t Offset(size_t back = 0) const { return recent_[(count_ - 1 - back) & mask_].at; }
    uint64_t NextOffset() const { return bufAt_ + pos_; }

    static constexpr size_t kBlockSize = size_t{1} << 16;

private:
    struct Span {
        uint64_t at = 0;  // file offset
        size_t length = 0;
    };
    struct FreeBuffer {
        void operator()(char* p) const { std::free(p); }
    };
    // Bytes past the end of the data that may be loaded (never used), so that 64 bytes can
    // be loaded anywhere in the data.
    static constexpr size_t kSlack = 64;

    // The breaks among the 64 bytes at buf_[at], none past the end of the data: each LF, and
    // each CR that no LF follows (a CR LF is one break).
    uint64_t BitsAt(size_t at) const {
        const uint64_t data = end_ - at >= 64 ? ~uint64_t{0} : (uint64_t{1} << (end_ - at)) - 1;
        const LineBreakBits b = FindLineBreaks64(buf_.get() + at);
        const uint64_t lf = b.lf & data;
        const uint64_t lfAfter = lf >> 1 | (at + 64 < end_ && buf_[at + 64] == '\n' ? uint64_t{1} << 63 : 0);
        return lf | (b.cr & data & ~lfAfter);
    }
    void Remember(std::string_view line) {
        ++held_;
        Span& s = recent_[count_++ & mask_];
        s.at = bufAt_ + pos_;
        s.length = line.size();
    }
    // Takes the line up to the break at brk (or up to the end of the data).
    void Take(size_t brk, std::string_view& line) {
        line = std::string_view(buf_.get() + pos_, brk - pos_);
        Remember(line);
        ended_ = true;
        if (brk < end_) brk += buf_[brk] == '\r' && brk + 1 < end_ && buf_[brk + 1] == '\n' ? 2 : 1;
        pos_ = brk;
    }
    bool NextSlow(size_t scanFrom, std::string_view& line);
    void Refill();

    ByteSource& file_;
    uint64_t size_;
    uint64_t fileAt_;  // where the next block is read
    size_t blockSize_;
    std::unique_ptr<char[], FreeBuffer> buf_;
    size_t capacity_ = 0;  // without the slack
    uint64_t bufAt_;       // the file offset of buf_[0]
    size_t pos_ = 0;       // the start of the next line in buf_
    size_t end_ = 0;       // the end of the bytes read into buf_
    // The breaks not yet taken among the 64 bytes at buf_[bitsAt_], all at pos_ or later;
    // there are none between pos_ and bitsAt_.
    size_t bitsAt_ = 0;
    uint64_t bits_ = 0;
    size_t keep_;
    std::vector<Span> recent_;  // the last lines read, a ring of a power of two entries
    size_t mask_;
    size_t count_ = 0;  // lines read
    size_t held_ = 0;   // of them, read since the last skip
    bool pieces_ = false;
    bool ended_ = true;  // the text last given ended its line
};

}  // namespace kavlo
