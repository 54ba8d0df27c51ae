#pragma once

namespace widgets {

// The classic Windows faces the windows ask for ("MS Sans Serif", "Arial") are usually absent
// elsewhere; map them to the closest metric-compatible faces so the fixed layouts still fit.
void InstallFontSubstitutes();

}  // namespace widgets
