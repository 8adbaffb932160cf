// The IV dialog's template gives pixels of its layout font
// (kDialogLayoutCharWidth across, kDialogLayoutLineHeight down); its resource
// holds dialog units of the dialog's own font. gen_rc.cpp writes the resource
// with these; the backend places the items by them at other DPIs.
#pragma once

#include <cmath>
#include <cstdint>

#include "ui/resources/templates.h"

// A quarter of the dialog font's average character width across, an eighth
// of its line height down.
inline int dialogUnitsAcross(int32_t pixels) {
  return static_cast<int>(std::lround(pixels * 4 / kDialogLayoutCharWidth));
}
inline int dialogUnitsDown(int32_t pixels) {
  return static_cast<int>(std::lround(pixels * 8.0 / static_cast<double>(kDialogLayoutLineHeight)));
}

// The dialog's font in the resource (DS_SETFONT): 8 pt "MS Shell Dlg", weight
// 400, not italic, character set 1 (DEFAULT_CHARSET: the system picks a font
// that has the glyphs).
inline constexpr int kDialogFontPoints = 8;
inline constexpr char kDialogFontFace[] = "MS Shell Dlg";
inline constexpr int kDialogFontWeight = 400;
