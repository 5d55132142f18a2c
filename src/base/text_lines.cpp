// Reading the lines of a file through one reused buffer: refilling it, and growing it only for
// lines that do not fit.
#include "base/text_lines.h"

#include <algorithm>
#include <cstring>
#include <new>
#if defined(__x86_64__) && !defined(_WIN32) && defined(__GNUC__)
#define KAVLO_AVX2_SEARCH 1
#include <immintrin.h>
#else
#define KAVLO_AVX2_SEARCH 0
#endif

#include "base/errors.h"

namespace kavlo {

namespace {

size_t FindByteAfterBreakPlain(const char* p, size_t from, size_t end, char c) {
    size_t i = from;
#if defined(__SSE2__)
    const __m128i cc = _mm_set1_epi8(c);
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    const auto hits = [&](size_t at) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at));
        const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at - 1));
        return _mm_and_si128(_mm_cmpeq_epi8(v, cc), _mm_or_si128(_mm_cmpeq_epi8(w, lf), _mm_cmpeq_epi8(w, cr)));
    };
    for (; i < end; i += 64) {
        const __m128i h0 = hits(i), h1 = hits(i + 16), h2 = hits(i + 32), h3 = hits(i + 48);
        if (_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(h0, h1), _mm_or_si128(h2, h3))) == 0) continue;
        const uint64_t bits = static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(h0))) |
                              static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(h1))) << 16 |
                              static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(h2))) << 32 |
                              static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(h3))) << 48;
        return std::min(end, i + static_cast<size_t>(__builtin_ctzll(bits)));
    }
    return end;
#else
    for (; i < end; ++i)
        if (p[i] == c && (p[i - 1] == '\n' || p[i - 1] == '\r')) return i;
    return end;
#endif
}

#if KAVLO_AVX2_SEARCH
__attribute__((target("avx2"))) size_t FindByteAfterBreakAvx2(const char* p, size_t from, size_t end, char c) {
    const __m256i cc = _mm256_set1_epi8(c);
    const __m256i lf = _mm256_set1_epi8('\n');
    const __m256i cr = _mm256_set1_epi8('\r');
    const auto hits = [&](size_t at) __attribute__((target("avx2"))) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + at));
        const __m256i w = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + at - 1));
        return _mm256_and_si256(_mm256_cmpeq_epi8(v, cc),
                                _mm256_or_si256(_mm256_cmpeq_epi8(w, lf), _mm256_cmpeq_epi8(w, cr)));
    };
    for (size_t i = from; i < end; i += 64) {
        const __m256i h0 = hits(i), h1 = hits(i + 32);
        if (_mm256_testz_si256(_mm256_or_si256(h0, h1), _mm256_or_si256(h0, h1))) continue;
        const uint64_t bits = static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(h0))) |
                              static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(h1))) << 32;
        return std::min(end, i + static_cast<size_t>(__builtin_ctzll(bits)));
    }
    return end;
}

size_t (*ChooseFindByteAfterBreak())(const char*, size_t, size_t, char) {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") ? FindByteAfterBreakAvx2 : FindByteAfterBreakPlain;
}
#endif

}  // namespace

size_t FindByteAfterBreak(const char* p, size_t from, size_t end, char c) {
#if KAVLO_AVX2_SEARCH
    static size_t (*const find)(const char*, size_t, size_t, char) = ChooseFindByteAfterBreak();
    return find(p, from, end, c);
#else
    return FindByteAfterBreakPlain(p, from, end, c);
#endif
}

LineReader::LineReader(ByteSource& file, uint64_t from, size_t keep, size_t blockSize)
    : file_(file),
      size_(file.Size()),
      fileAt_(std::min(from, size_)),
      blockSize_(std::max<size_t>(blockSize, 1)),
      bufAt_(fileAt_),
      keep_(std::max<size_t>(keep, 1)) {
    size_t ring = 1;
    while (ring < keep_) ring *= 2;
    recent_.resize(ring);
    mask_ = ring - 1;
}

// Past the bytes read, or at a CR that ends them: refills as often as it takes to find the
// line's break, searching from scanFrom on (what was searched is not searched again, so a long
// line costs one pass), then takes up the bits again behind the line. Given pieces, it gives the
// line so far once a block of it is at hand.
bool LineReader::NextSlow(size_t scanFrom, std::string_view& line) {
    size_t scan = scanFrom;
    for (;;) {
        const size_t brk = scan + FindLineBreak(buf_.get() + scan, end_ - scan);
        const bool needMore = brk == end_ || (brk + 1 == end_ && buf_[brk] == '\r');
        if (!needMore || fileAt_ >= size_) {
            if (brk == end_ && pos_ == end_) return false;
            Take(brk, line);
            bitsAt_ = pos_;
            bits_ = BitsAt(pos_);
            return true;
        }
        if (pieces_ && brk - pos_ >= blockSize_) {
            // The line so far, up to a CR whose next byte is not read yet, as a piece.
            line = std::string_view(buf_.get() + pos_, brk - pos_);
            Remember(line);
            ended_ = false;
            pos_ = brk;
            bitsAt_ = pos_;
            bits_ = BitsAt(pos_);
            return true;
        }
        scan = brk;
        const uint64_t before = bufAt_;
        Refill();
        scan -= static_cast<size_t>(bufAt_ - before);
    }
}

void LineReader::Refill() {
    // The line being read and the keep - 1 lines before it stay; older bytes are given up.
    uint64_t keepAt = bufAt_ + pos_;
    const size_t older = std::min(held_, keep_ - 1);
    if (older > 0) keepAt = recent_[(count_ - older) & mask_].at;
    const size_t drop = static_cast<size_t>(keepAt - bufAt_);
    const size_t kept = end_ - drop;
    if (drop > 0 && kept > 0) std::memmove(buf_.get(), buf_.get() + drop, kept);
    bufAt_ += drop;
    pos_ -= drop;
    end_ = kept;

    const uint64_t left = size_ - fileAt_;
    const size_t block = static_cast<size_t>(std::min<uint64_t>(blockSize_, left));
    if (capacity_ - kept < block) {
        // Doubling, so that a line longer than a block costs a linear number of copies, but
        // never more than the rest of the file needs.
        const uint64_t upTo = kept + left;
        const size_t grown = static_cast<size_t>(std::min<uint64_t>(capacity_ * uint64_t{2}, upTo));
        const size_t capacity = std::max(kept + block, grown);
        char* p = static_cast<char*>(std::realloc(buf_.get(), capacity + kSlack));
        if (!p) throw std::bad_alloc();
        (void)buf_.release();
        buf_.reset(p);
        capacity_ = capacity;
    }
    const size_t want = static_cast<size_t>(std::min<uint64_t>(capacity_ - kept, left));
    const size_t got = file_.ReadAt(fileAt_, buf_.get() + kept, want);
    if (got < want) throw EReadError(fileAt_ + got, {}, ReadErrorCode::FileChanged);  // it shrank meanwhile
    fileAt_ += got;
    end_ = kept + got;
}

}  // namespace kavlo
