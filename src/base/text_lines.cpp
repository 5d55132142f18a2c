// Reading the lines of a file through one reused buffer: refilling it, and growing it only for
// lines that do not fit.
#include "base/text_lines.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "base/errors.h"

namespace kavlo {

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
    if (got < want) throw EReadError();  // the file shrank while it was read
    fileAt_ += got;
    end_ = kept + got;
}

}  // namespace kavlo
