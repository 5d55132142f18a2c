// The toolbar's image lists, built from the images drawn in toolbar_art.h.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "app/toolbar_art.h"
#include "gui/gdi_handles_win.h"

namespace kavlo {

enum class ToolbarImageLook { Normal, Disabled };

// A 32-bit image list (ILC_COLOR32, with a mask for renderers that ignore alpha) of the 27
// toolbar images in toolbar order, `size` × `size` pixels (a size IsToolbarImageSize accepts);
// for TB_SETIMAGELIST
// (or, with ToolbarImageLook::Disabled, TB_SETDISABLEDIMAGELIST); keep it while a toolbar uses
// it. Empty for another size or when the system cannot create it.
UniqueImageList CreateToolbarImageList(int size, ToolbarImageLook look = ToolbarImageLook::Normal);

// Both looks of one size at once, each image drawn once for the two; both empty on failure.
struct ToolbarImageLists {
    UniqueImageList normal, disabled;
};
ToolbarImageLists CreateToolbarImageLists(int size);

// A 32-bit top-down DIB section holding `image` (straight alpha, as image lists want it), and
// the monochrome mask that marks its transparent pixels (alpha below half) with 1. Empty on
// failure.
UniqueBitmap CreateArgbBitmap(const Image& image);
UniqueBitmap CreateMaskBitmap(const Image& image);

}  // namespace kavlo
