// libFuzzer target: two files of one format, compared by content as the list, kavlo diff and
// the Object Differences window compare them.
//
// Input: byte 0 picks the format (.txt, .xml, .fbk, .fob) and whether the first file is a UTF-8
// text export (the byte-order mark is put before it); byte 1 holds kavlo diff's switches
// (with properties, --stat, --full, a type left out, --object of the first record); byte 2 is
// the context; bytes 3 to 6 the length of the first file (little-endian, cut to what there is);
// the rest is the second file.
//
// Besides what the sanitizers and GoOverList catch, every file compared with itself (loaded
// twice, as two files) must have no differences: none in the list built by content, none in
// kavlo diff, none in the window's side-by-side view; and diff output made for a terminal must
// hold no control character but line feed and tab.
#include <cstring>
#include <map>

#include "app/object_diff.h"
#include "cli/diff_output.h"
#include "cli/terminal_text.h"
#include "fuzz_reader.h"
#include "objfile/load_object_file.h"
#include "objfile/object_content.h"

namespace kavlo::fuzz {
namespace {

constexpr const char* kExtensions[] = {".txt", ".xml", ".fbk", ".fob"};

// The two input files of this process, by slot and extension, removed at exit.
const std::string& PathOf(int slot, const char* extension) {
    static std::map<std::string, std::string> paths;
    static const bool removeAtExit = [] {
        std::atexit([] {
            for (const auto& [key, path] : paths) std::remove(path.c_str());
        });
        return true;
    }();
    (void)removeAtExit;
    std::string& p = paths[std::to_string(slot) + extension];
    if (p.empty()) {
        const char* tmp = std::getenv("TMPDIR");
        p = std::string(tmp && *tmp ? tmp : "/tmp") + "/kavlo-content-fuzz-" + std::to_string(::getpid()) + "-" +
            std::to_string(slot + 1) + extension;
    }
    return p;
}

void Load(TFob& fob, int fileNo, const std::string& path) {
    try {
        LoadObjectFile(fob, fileNo, path, FuzzRegional());
    } catch (const EKavloError&) {
        // A bad file: the records read before the error are compared.
    }
}

// A content read may fail only because the file is no longer the one loaded, which never
// happens here: a reader that raises that over its own spans has lost track of them.
template <typename F>
void Compare(const std::string& what, F&& f) {
    try {
        f();
    } catch (const EKavloError& e) {
        const std::string text = e.what();
        Require(text.find("has changed since it was loaded") == std::string::npos,
                ("a file that did not change is said to have changed: " + what).c_str());
    }
}

bool NoControls(const std::string& s) {
    for (char c : s) {
        const unsigned char b = static_cast<unsigned char>(c);
        if ((b < 0x20 && b != '\n' && b != '\t') || b == 0x7F) return false;
    }
    return true;
}

}  // namespace
}  // namespace kavlo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kavlo;
    using namespace kavlo::fuzz;
    if (size < 7) return 0;
    const char* ext = kExtensions[data[0] & 3];
    const bool bom = (data[0] & 4) != 0 && (data[0] & 3) == 0;
    const uint8_t switches = data[1];
    uint32_t lengthA = 0;
    std::memcpy(&lengthA, data + 3, 4);
    const std::string_view rest(reinterpret_cast<const char*>(data + 7), size - 7);
    const size_t cut = std::min<size_t>(lengthA, rest.size());
    const std::string a = (bom ? "\xEF\xBB\xBF" : "") + std::string(rest.substr(0, cut));
    const std::string b(rest.substr(cut));
    const std::string& pathA = PathOf(0, ext);
    const std::string& pathB = PathOf(1, ext);
    WriteWholeFile(pathA, a);
    WriteWholeFile(pathB, b);

    TFob f1, f2, self;
    Load(f1, 1, pathA);
    Load(f2, 2, pathB);
    Load(self, 2, pathA);

    cli::DiffOptions options;
    options.WithProperties = switches & 1;
    options.Stat = switches & 2;
    options.Full = switches & 4;
    if (switches & 8) options.Types[static_cast<size_t>((switches >> 4) % kObjectTypeCount)] = false;
    if ((switches & 0x80) && f1.Count() > 0) options.Objects = {{f1.Fob(0).ObjType, f1.Fob(0).ID}};
    options.Context = data[2] % 8;

    // The two files: no crash, and terminal output free of control characters.
    Compare("diff", [&] {
        const cli::DiffResult r = cli::RenderDiff(f1, f2, options);
        Require(NoControls(cli::EscapeUtf8Controls(r.Text)), "a control character reaches the terminal");
    });
    Compare("window", [&] {
        // A few objects: each line diff sets aside room for its whole edit path (dtl), which
        // under the sanitizers costs more than all the rest of an input.
        for (int i = 0; i < std::min(f1.Count(), 2); ++i) {
            const TFobRec& r = f1.Fob(i);
            const int j = f2.FindFob(r.ObjType, r.ID);
            if (j >= 0) MakeObjectDiff(f1, i, f2, j);
        }
    });

    // A file against itself.
    Compare("self diff", [&] {
        Require(!cli::RenderDiff(f1, self, options).AnyDifference, "kavlo diff finds a file different from itself");
    });
    Compare("self list", [&] {
        CompareSettings cs;
        cs.CompareContent = true;
        cs.SortByFile = false;
        const FilterTexts filters{};
        TBuiltList built;
        BuildList(BuildMode::Different(), ListSources{f1, self, kAllTypes, false, cs, filters}, built);
        Require(built.Listed == 0, "the list by content finds a file different from itself");
    });
    Compare("self contents", [&] {
        TContentReader r1(f1), r2(self);
        for (int i = 0; i < f1.Count(); ++i) {
            Require(ContentsEqual(r1, i, r2, i, options.WithProperties), "an object's content differs from itself");
            if (i == 0 && ContentsComparable(f1, self)) {
                Require(MakeObjectDiff(f1, i, self, i).View.ChangeStarts.empty(),
                        "the window shows a change of an object against itself");
            }
        }
        r1.CheckUnchanged();
        r2.CheckUnchanged();
    });
    return 0;
}
