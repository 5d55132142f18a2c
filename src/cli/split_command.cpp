#include "cli/split_command.h"

#include <cstdio>

#include "base/errors.h"
#include "cli/command_options.h"
#include "folder/join_folder.h"
#include "folder/split_export.h"
#include "platform/file.h"
#include "objfile/load_object_file.h"
#include "platform/regional.h"

namespace kavlo::cli {

int Split(const std::vector<std::string>& args) {
    std::vector<std::string> names;
    SplitOptions options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw UsageError{a + " needs a value"};
            return args[++i];
        };
        if (a == "--force") options.Force = true;
        else if (a == "--types") options.Types = ParseTypes(value());
        else if (a == "--hide-system") options.HideSystemObjects = true;
        else if (a == "--filter") AddFilter(options.Filters, value());
        else if (a.starts_with("--")) throw UsageError{"unknown option " + a + " of split"};
        else names.push_back(a);
    }
    if (names.size() != 2) throw UsageError{"split takes a text export and a folder"};
    const std::string& exportName = names[0];
    const std::string& folder = names[1];
    try {
        CheckSplittable(exportName);
        SystemRegional system;
        TFob fob;
        LoadObjectFile(fob, 1, exportName, system.Get());
        if (fob.Count() == 0) throw EKavloError("\"" + exportName + "\" holds no objects.");
        const int written = SplitExport(fob, folder, options);
        // One line, on stderr: standard output stays empty for scripts.
        std::fprintf(stderr, "%d object%s written to %s\n", written, written == 1 ? "" : "s", folder.c_str());
        return 0;
    } catch (const EFileExists& e) {
        std::fprintf(stderr, "%s Nothing was written; --force replaces existing files.\n", e.what());
    } catch (const EKavloError& e) {
        std::fprintf(stderr, "%s\n", e.what());
    }
    return 1;
}

int Join(const std::vector<std::string>& args) {
    std::vector<std::string> names;
    std::string output;
    LoadOptions load;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--output") {
            if (i + 1 >= args.size()) throw UsageError{a + " needs a value"};
            output = args[++i];
        } else if (a == "--ignore-other-files") {
            load.IgnoreOtherFiles = true;
        } else if (a.starts_with("--")) {
            throw UsageError{"unknown option " + a + " of join"};
        } else {
            names.push_back(a);
        }
    }
    if (names.size() != 1) throw UsageError{"join takes one folder"};
    if (output.empty()) throw UsageError{"join needs --output FILE"};
    const std::string& folder = names[0];
    try {
        if (!IsFolder(folder)) throw EKavloError("\"" + folder + "\" is no folder; join reads a folder of object files.");
        SystemRegional system;
        TFob fob;
        LoadObjectFile(fob, 1, folder, system.Get(), load);
        const int written = JoinFolder(fob, output);
        std::fprintf(stderr, "%d object%s written to %s\n", written, written == 1 ? "" : "s", output.c_str());
        return 0;
    } catch (const EOtherFilesError& e) {
        std::fprintf(stderr, "%s; --ignore-other-files reads the object files alone\n", e.what());
    } catch (const EKavloError& e) {
        std::fprintf(stderr, "%s\n", e.what());
    }
    return 1;
}

}  // namespace kavlo::cli
