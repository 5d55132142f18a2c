// What every fuzz target does with one input: write it to this process's input file, load it
// with LoadObjectFile as the window and kavlo do, and then go over the list as they do, whether
// the reader finished or raised in the middle (a failed load keeps the records stored before
// the error, and the caller lists them).
//
// A reader may raise the program's own errors (EKavloError and what derives from it) for a bad
// file; they are caught here. Anything else is a finding and is left to libFuzzer: another
// exception (it ends the process through std::terminate), a crash, a sanitizer report, a hang,
// running out of memory, and a broken invariant of the list below (abort()).
#pragma once
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/errors.h"
#include "listing/list_builder.h"
#include "objfile/fob.h"
#include "objfile/load_object_file.h"
#include "objfile/object_types.h"
#include "platform/file.h"
#include "support/fixed_regional.h"

namespace kavlo::fuzz {

inline void Require(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
    std::abort();
}

// One input file per process, written again for every input and removed at exit. The name
// carries the extension that selects the reader, and the process id, so that targets running
// side by side never share one.
inline const std::string& InputPath(const char* extension) {
    static const std::string path = [extension] {
        const char* tmp = std::getenv("TMPDIR");
        std::string p = tmp && *tmp ? tmp : "/tmp";
        p += "/kavlo-fuzz-" + std::to_string(::getpid()) + extension;
        return p;
    }();
    static const bool removeAtExit = [] {
        std::atexit([] { std::remove(path.c_str()); });
        return true;
    }();
    (void)removeAtExit;
    return path;
}

// The fixed regional settings of the tests, with a time zone east of Greenwich so that the
// XML reader's shift to local time is taken (and can cross midnight).
inline Regional FuzzRegional() {
    static const testing::FixedRegional fixed;
    static const FixedTimeZone zone(-60);
    Regional r = fixed.Get();
    r.timeZone = &zone;
    return r;
}

// What the callers read of a loaded list, with the invariants every list must keep.
inline void GoOverList(const TFob& fob) {
    const int n = fob.Count();
    Require(n >= 0, "negative record count");
    size_t textBytes = 0;
    for (int i = 0; i < n; ++i) {
        const TFobRec& r = fob.Fob(i);
        Require(r.ObjType >= 0 && r.ObjType < kObjectTypeCount, "a record of no object type");
        for (int column = 0; column < 10; ++column) textBytes += GetFobString(r, column).size();
        textBytes += fob.GetFobCommaText(i).size();
        // The indexed lookups must answer as the literal walks do, on any list.
        Require(fob.FindFob(r.ObjType, r.ID) == FindFobLinear(fob.Fobs(), r.ObjType, r.ID),
                "FindFob differs from the walk");
        Require(fob.FindFobByText(r.ObjType, r.ID, r.VersionList.view()) ==
                    FindFobByTextLinear(fob.Fobs(), r.ObjType, r.ID, r.VersionList.view()),
                "FindFobByText differs from the walk");
    }
    Require(textBytes >= static_cast<size_t>(n), "column texts went missing");

    // The two list builds that read every record: all objects of the file beside an empty
    // second file lists each one; the Different merge of the file with itself lists none (it
    // also sorts a copy of the leading table data).
    const TFob empty;
    const FilterTexts filters{};
    CompareSettings cs;
    TBuiltList built;
    BuildList(BuildMode::Off(), ListSources{fob, empty, kAllTypes, false, cs, filters}, built);
    Require(built.Listed == n, "the Off list does not hold every record");
    cs.SortByFile = false;
    BuildList(BuildMode::Different(), ListSources{fob, fob, kAllTypes, false, cs, filters}, built);
    Require(built.Listed == 0, "a file differs from itself");
}

// One input: load it as a file of this extension, then go over what was loaded.
inline int LoadAndGoOver(const uint8_t* data, size_t size, const char* extension) {
    const std::string& path = InputPath(extension);
    WriteWholeFile(path, std::string_view(reinterpret_cast<const char*>(data), size));
    TFob fob;
    try {
        LoadObjectFile(fob, 1, path, FuzzRegional());
    } catch (const EKavloError&) {
        // A bad file: the records stored before the error stay, and are gone over below.
    }
    GoOverList(fob);
    return 0;
}

}  // namespace kavlo::fuzz
