// The private messages the main window posts to itself (WM_USER is 1024).
#pragma once

namespace kavlo {

inline constexpr unsigned kWmStartup = 1024;          // WM_STARTUP: nothing
inline constexpr unsigned kWmLoadDropped = 1025;      // WM_LOADDROPPED: the names are held by the window
inline constexpr unsigned kWmUpdateCheck = 1026;      // WM_UPDATECHECK: wParam the check's result code
inline constexpr unsigned kWmEditFieldFilter = 1027;  // WM_EDITFIELDFILTER: wParam the column
inline constexpr unsigned kWmFiltersChanged = 1028;   // WM_FILTERSCHANGED: nothing
// The dropped-file dialog posts this to itself when it is shown.
inline constexpr unsigned kWmAskShown = 1024;

}  // namespace kavlo
