// Field filters: preparing the ten patterns, the wildcard match, the normalised Type and flag
// filters, and the column texts they are matched against.
#include "listing/field_filter.h"

#include <charconv>
#include <vector>

#include "objfile/object_types.h"

namespace kavlo {

namespace {

// The case fold of filters without case: A to Z onto a to z, every other byte onto itself
// (letters above 127 included, whatever the code page makes of them).
constexpr std::array<unsigned char, 256> kFold = [] {
    std::array<unsigned char, 256> t{};
    for (int i = 0; i < 256; ++i) t[static_cast<size_t>(i)] = static_cast<unsigned char>(i >= 'A' && i <= 'Z' ? i + 32 : i);
    return t;
}();

// The matcher: pattern and text are walked in step; only a "*" branches, over every text
// position from the current one to the last. Written with its own stack of "*" branches
// rather than by recursion, so that a pattern of thousands of "*" cannot exhaust the stack,
// and with a record of (pattern, text) positions already known to fail, so that a pattern
// such as *a*a*a*a*b stays polynomial. Neither changes which texts match.
class Matcher {
public:
    Matcher(std::string_view pattern, std::string_view text, bool caseSensitive)
        : pat_(pattern), text_(text), case_(caseSensitive) {
        int groups = 0;
        for (size_t i = 0; i < pat_.size(); ++i)
            if (pat_[i] == '*' && (i == 0 || pat_[i - 1] != '*')) ++groups;
        // With one group of "*" every (pattern, text) position is tried at most once anyway.
        if (groups >= 2) failed_.assign((pat_.size() + 1) * (text_.size() + 1), false);
    }

    bool Run() {
        size_t p = 0, s = 0;
        while (true) {
            switch (Walk(p, s)) {
                case Step::Match: return true;
                case Step::Star:
                    // Walk left p just past the "*" run and s where the "*" stands.
                    stack_.push_back(Branch{p, s, attemptP_, attemptS_});
                    break;
                case Step::Fail:
                    MarkFailed(attemptP_, attemptS_);
                    break;
            }
            // The next untried branch of the innermost open "*".
            bool next = false;
            while (!stack_.empty() && !next) {
                Branch& b = stack_.back();
                if (b.t >= text_.size()) {
                    MarkFailed(b.fromP, b.fromS);
                    stack_.pop_back();
                    continue;
                }
                const size_t t = b.t++;
                if (KnownFailed(b.p, t)) continue;
                p = b.p;
                s = t;
                next = true;
            }
            if (!next) return false;
        }
    }

private:
    enum class Step { Match, Fail, Star };
    struct Branch {
        size_t p;      // pattern position after the "*" run
        size_t t;      // next text position to try
        size_t fromP;  // the attempt that reached this "*"
        size_t fromS;
    };

    bool Same(char a, char b) const {
        if (case_) return a == b;
        return kFold[static_cast<unsigned char>(a)] == kFold[static_cast<unsigned char>(b)];
    }

    // One attempt to match pattern from p against text from s, up to the next "*".
    Step Walk(size_t& p, size_t& s) {
        attemptP_ = p;
        attemptS_ = s;
        const size_t P = pat_.size(), S = text_.size();
        while (p < P && s < S) {
            const char c = pat_[p];
            if (c == '*') {
                while (p < P && pat_[p] == '*') ++p;
                if (p >= P) return Step::Match;
                return Step::Star;
            }
            if (c != '?' && !Same(c, text_[s])) return Step::Fail;
            ++p;
            ++s;
        }
        while (p < P && (pat_[p] == '*' || pat_[p] == '?')) ++p;
        return p >= P && s >= S ? Step::Match : Step::Fail;
    }

    size_t Slot(size_t p, size_t s) const { return p * (text_.size() + 1) + s; }
    void MarkFailed(size_t p, size_t s) {
        if (!failed_.empty()) failed_[Slot(p, s)] = true;
    }
    bool KnownFailed(size_t p, size_t s) const { return !failed_.empty() && failed_[Slot(p, s)]; }

    std::string_view pat_, text_;
    bool case_;
    std::vector<bool> failed_;
    std::vector<Branch> stack_;
    size_t attemptP_ = 0, attemptS_ = 0;
};

}  // namespace

bool WildcardMatch(std::string_view pattern, std::string_view text, bool caseSensitive) {
    if (pattern.empty()) return true;
    return Matcher(pattern, text, caseSensitive).Run();
}

PreparedFilters PrepareFilters(const FilterTexts& texts) {
    PreparedFilters f;
    for (size_t i = 0; i < texts.size(); ++i) {
        const std::string& t = texts[i];
        f.caseSensitive[i] = true;
        f.pattern[i] = t;
        if (t.empty()) continue;
        f.active[i] = true;
        f.anyFilter = true;
        if (t[0] == '@') {
            f.caseSensitive[i] = false;
            f.pattern[i].erase(0, 1);
        } else if (t.size() >= 2 && (t[0] == '*' || t[0] == '?') && t[1] == '@') {
            f.caseSensitive[i] = false;
            f.pattern[i].erase(1, 1);
        }
    }
    return f;
}

std::string_view FilterFieldText(const TFobRec& rec, int column, std::array<char, 16>& buffer) {
    const auto number = [&](int32_t v) {
        const auto r = std::to_chars(buffer.data(), buffer.data() + buffer.size(), v);
        return std::string_view(buffer.data(), static_cast<size_t>(r.ptr - buffer.data()));
    };
    switch (column) {
        case ColumnFile: return number(rec.FileNo);
        case ColumnType:
            return rec.ObjType >= 0 && rec.ObjType < kObjectTypeCount
                       ? ObjectTypeNames[static_cast<size_t>(rec.ObjType)]
                       : std::string_view();
        case ColumnID: return number(rec.ID);
        case ColumnName: return rec.Name.view();
        case ColumnVersion: return rec.VersionList.view();
        case ColumnDate: return rec.DateStr.view();
        case ColumnTime: return rec.TimeStr.view();
        case ColumnBlobSize: return number(rec.BlobSize);
        case ColumnModified: return rec.Modified ? "True" : "False";
        case ColumnCompiled: return rec.Compiled ? "True" : "False";
        default: return {};
    }
}

bool FilterPasses(const PreparedFilters& filters, const TFobRec& rec) {
    if (!filters.anyFilter) return true;
    std::array<char, 16> buffer;
    for (int i = 0; i < kColumnCount; ++i) {
        const size_t c = static_cast<size_t>(i);
        if (!filters.active[c]) continue;
        if (!WildcardMatch(filters.pattern[c], FilterFieldText(rec, i, buffer), filters.caseSensitive[c]))
            return false;
    }
    return true;
}

void NormaliseFilters(FilterTexts& texts) {
    texts[1] = NormalizeTypeText(texts[1]);
    texts[8] = NormalizeBoolText(texts[8]);
    texts[9] = NormalizeBoolText(texts[9]);
}

}  // namespace kavlo
