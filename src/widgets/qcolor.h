#pragma once
// The one place where framework colour values become QColor.
#include <QColor>

#include "widgets/colorcode.h"

namespace widgets {

// System colours come from the application palette.
QColor ToQColor(TColor c);
// The same colour as a plain RGB value, for code that computes with the bytes (bevel shades).
TColor ToPlainRGB(TColor c);

// Makes ColorToRGB resolve system colours from the application palette.
void InstallPaletteColorResolver();

}  // namespace widgets
