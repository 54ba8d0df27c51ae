#pragma once

#include <QFont>

namespace widgets {

// The windows' font, given as their designs give it: a pixel height (11 is 8 point) and a face,
// found through the substitutes below where the face itself is missing.
QFont WindowFont(int pixelHeight = 11, const char* family = "MS Sans Serif");

// The classic Windows faces the windows ask for ("MS Sans Serif", "Arial") are usually absent
// elsewhere; map them to the closest metric-compatible faces so the fixed layouts still fit.
void InstallFontSubstitutes();

}  // namespace widgets
