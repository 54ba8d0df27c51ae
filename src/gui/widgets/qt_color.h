#pragma once
// The one place where colour codes become QColor.
#include <QColor>

#include "core/colour/color_code.h"

namespace widgets {

// System colours come from the application palette.
QColor ToQColor(ColorCode c);
// The same colour as a plain RGB value, for code that computes with the bytes (bevel shades).
ColorCode ToPlainRGB(ColorCode c);

// Makes ResolvedRgb resolve system colours from the application palette.
void InstallPaletteColorResolver();

}  // namespace widgets
