// Excel on Windows: whether it is registered, and the automation seam of the export over COM's
// IDispatch, every member called by name (no type library is needed).
#pragma once
#include <windows.h>

#include <string>

#include "output/excel_export.h"

namespace kavlo {

// The default value of HKEY_CLASSES_ROOT\<progId>\CLSID (opened with KEY_READ); the empty text
// when the key or the value is missing, is not a text, or anything else fails.
std::string ReadProgIdClsid(const std::string& progId);

// "Excel.Application" is registered.
bool ExcelInstalled();

// The window class of Excel's main window.
inline constexpr char kExcelMainWindowClass[] = "XLMAIN";

// Starts a new local instance of the class registered as "Excel.Application" (COM must be
// initialised on the calling thread) and brings the first "XLMAIN" window to the front.
class ComExcelHost final : public ExcelHost {
public:
    std::unique_ptr<AutomationObject> CreateApplication() override;
    void BringToFront() override;
};

}  // namespace kavlo
