// The Mark command: the settings and the program's folder handed to the marking procedure, and
// the selection dialog owned by the main window.
#include "app/mark_command_win.h"

#include "app/select_nav_form_win.h"
#include "marking/desktop_win.h"
#include "marking/marking.h"
#include "settings/update_check_win.h"

namespace kavlo {

namespace {

// The folder of the program file, with its trailing separator.
std::string ProgramFolder() {
    const std::string path = OwnExecutablePath();
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

void MarkObjectDesignerCommand(const CommandContext& c, const TSettings& settings,
                               const std::vector<std::string>& arguments, Desktop* desktop) {
    WinDesktop system;
    Desktop& d = desktop ? *desktop : system;
    MarkingOptions options;
    options.objectDesigner = settings.LanguageObjectDesigner;
    options.fieldFilterType = settings.LanguageFieldFilterType;
    options.fieldFilterID = settings.LanguageFieldFilterID;
    options.selectAllShortcut = settings.LanguageSelectAllShortcut;
    options.intelligentMarking = settings.IntelligentObjectMarking;
    options.probe.saveAnalyze = HasSaveAnalyzeSwitch(arguments);
    if (options.probe.saveAnalyze) options.probe.folder = ProgramFolder();
    TSelectNavForm dialog(c.owner);
    MarkObjectsInObjectDesigner(d, c.list, options, dialog, c.tell);
}

}  // namespace kavlo
