// The clipboard's text.
#pragma once
#include <windows.h>

#include <string>

namespace kavlo {

// Replaces the clipboard's content with the ANSI text (CF_TEXT). Raises EKavloError ("Cannot
// open clipboard") when another program holds the clipboard.
void SetClipboardText(HWND owner, const std::string& text);

}  // namespace kavlo
