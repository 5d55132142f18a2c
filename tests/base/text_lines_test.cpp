#include "base/text_lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "base/errors.h"

namespace kavlo {
namespace {

// Bytes in memory as a file; `shrinkTo` makes reads past it come back short, as from a file
// cut while it is read.
class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::string bytes, size_t shrinkTo = std::string::npos)
        : bytes_(std::move(bytes)), shrinkTo_(std::min(shrinkTo, bytes_.size())) {}
    uint64_t Size() const override { return bytes_.size(); }
    size_t ReadAt(uint64_t offset, void* buffer, size_t n) override {
        if (offset >= shrinkTo_) return 0;
        n = std::min<size_t>(n, shrinkTo_ - static_cast<size_t>(offset));
        std::memcpy(buffer, bytes_.data() + offset, n);
        return n;
    }

private:
    std::string bytes_;
    size_t shrinkTo_;
};

// The lines of the text; with `pieces`, each joined from its pieces, every piece but a line's
// last of a block or more, each piece's offset where it stands in the text.
std::vector<std::string> ReadLines(const std::string& text, size_t blockSize, uint64_t from = 0, bool pieces = false) {
    MemorySource src(text);
    LineReader reader(src, from, 1, blockSize);
    if (pieces) reader.GiveLongLinesInPieces();
    std::vector<std::string> lines;
    std::string_view line;
    bool ended = true;
    while (!reader.AtEnd()) {
        if (!reader.Next(line)) ADD_FAILURE() << "no line after all";
        EXPECT_EQ(text.compare(reader.Offset(), line.size(), line), 0);
        if (ended) lines.emplace_back();
        lines.back() += line;
        ended = reader.LineEnded();
        if (!ended) {
            EXPECT_GE(line.size(), blockSize);
        }
    }
    EXPECT_TRUE(ended);
    EXPECT_FALSE(reader.Next(line));
    return lines;
}

// Block sizes around every boundary a break can fall on, and the default.
const size_t kBlockSizes[] = {1, 2, 3, 5, 7, 16, 63, 64, 65, 127, LineReader::kBlockSize};

TEST(LineReader, EveryKindOfBreakSplitsAlikeAtEveryBlockSize) {
    const std::string longLine(300, 'x');
    const struct {
        std::string text;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {}},
        {"\n", {""}},
        {"a", {"a"}},
        {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"a\r\n", {"a"}},
        {"a\r", {"a"}},
        {"\r\r\n\n\r", {"", "", "", ""}},  // CR, CR LF, LF, CR
        {"\n\r", {"", ""}},                // LF then CR: two breaks
        {"a\r\n\r\nb", {"a", "", "b"}},
        {longLine + "\r\n" + longLine, {longLine, longLine}},
        {std::string(63, 'y') + "\r\n" + "z", {std::string(63, 'y'), "z"}},  // CR LF across 64 bytes
        {std::string(64, 'y') + "\r" + "z", {std::string(64, 'y'), "z"}},
    };
    for (const auto& c : cases)
        for (size_t block : kBlockSizes)
            for (bool pieces : {false, true})
                EXPECT_EQ(ReadLines(c.text, block, 0, pieces), c.lines) << block << " " << c.text.size() << pieces;
}

TEST(LineReader, RandomTextsSplitAsTheWholeTextDoes) {
    // What each line is, told from the whole text at once.
    const auto splitWhole = [](const std::string& t) {
        std::vector<std::string> lines;
        size_t p = 0;
        while (p < t.size()) {
            const size_t e = std::min(t.find_first_of("\r\n", p), t.size());
            lines.push_back(t.substr(p, e - p));
            p = e + (e + 1 < t.size() && t[e] == '\r' && t[e + 1] == '\n' ? 2 : 1);
        }
        return lines;
    };
    std::mt19937 rng(17);
    for (int round = 0; round < 200; ++round) {
        std::string t;
        const size_t n = rng() % 400;
        for (size_t i = 0; i < n; ++i) t += "ab\r\n"[rng() % 4];
        const std::vector<std::string> expected = splitWhole(t);
        for (size_t block : kBlockSizes)
            for (bool pieces : {false, true}) ASSERT_EQ(ReadLines(t, block, 0, pieces), expected) << round << " " << block;
    }
}

TEST(LineReader, SkippingPassesOnlyOverLinesThatDoNotBeginWithTheByte) {
    std::mt19937 rng(5);
    for (int round = 0; round < 200; ++round) {
        std::string t;
        const size_t n = rng() % 600;
        for (size_t i = 0; i < n; ++i) t += "OOab\r\n"[rng() % 6];
        const std::vector<std::string> whole = ReadLines(t, LineReader::kBlockSize);
        // Where each line starts, to tell which line the reader stands before.
        std::vector<uint64_t> starts;
        {
            MemorySource src(t);
            LineReader reader(src);
            std::string_view line;
            while (reader.Next(line)) starts.push_back(reader.Offset());
        }
        const auto lineAt = [&](uint64_t offset) {
            return static_cast<size_t>(std::lower_bound(starts.begin(), starts.end(), offset) - starts.begin());
        };
        for (size_t block : kBlockSizes) {
            MemorySource src(t);
            LineReader reader(src, 0, 1, block);
            size_t at = 0;
            std::string_view line;
            for (;;) {
                if (reader.SkipLinesNotBeginningWith('O')) {
                    const size_t to = lineAt(reader.NextOffset());
                    ASSERT_GT(to, at) << round;
                    for (size_t k = at; k < to; ++k) ASSERT_FALSE(whole.at(k).starts_with('O')) << round;
                    at = to;
                }
                if (!reader.Next(line)) break;
                ASSERT_EQ(line, whole.at(at)) << round << " " << block;
                // With the whole text in one block, a skip stops only at such a line or the last.
                if (block == LineReader::kBlockSize && at > 0) {
                    ASSERT_TRUE(line.starts_with('O') || at + 1 == whole.size()) << round << " " << at;
                }
                ++at;
            }
            ASSERT_EQ(at, whole.size()) << round << " " << block;
        }
    }
}

TEST(LineReader, TheLastLinesStayAtHandWithTheirOffsets) {
    std::string text;
    for (int i = 0; i < 40; ++i) text += std::string(static_cast<size_t>(i % 7), 'a' + static_cast<char>(i % 26)) + "\r\n";
    for (size_t block : kBlockSizes) {
        MemorySource src(text);
        LineReader reader(src, 0, 9, block);
        std::vector<std::string> seen;
        std::vector<uint64_t> offsets;
        uint64_t at = 0;
        std::string_view line;
        while (reader.Next(line)) {
            seen.emplace_back(line);
            offsets.push_back(at);
            at += line.size() + 2;
            ASSERT_EQ(reader.NextOffset(), at);
            for (size_t back = 0; back < std::min<size_t>(9, seen.size()); ++back) {
                ASSERT_EQ(reader.Recent(back), seen[seen.size() - 1 - back]) << block << " " << seen.size();
                ASSERT_EQ(reader.Offset(back), offsets[seen.size() - 1 - back]);
            }
        }
        EXPECT_EQ(seen.size(), 40u);
    }
}

TEST(LineReader, ReadingStartsAtTheGivenOffset) {
    EXPECT_EQ(ReadLines("\xEF\xBB\xBF" "a\nb", 2, 3), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(ReadLines("ab", 2, 9), std::vector<std::string>{});
}

TEST(LineReader, AFileThatShrinksWhileItIsReadRaisesAReadError) {
    const std::string text = std::string(1000, 'a') + "\n" + std::string(1000, 'b') + "\n";
    MemorySource src(text, 1500);
    LineReader reader(src, 0, 1, 256);
    std::string_view line;
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(line.size(), 1000u);
    EXPECT_THROW(reader.Next(line), EReadError);
}

}  // namespace
}  // namespace kavlo
