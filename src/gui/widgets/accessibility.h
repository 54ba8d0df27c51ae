#pragma once
// What screen readers learn of the program's controls beyond Qt's own: a link label is a link that
// can be pressed and names its target, the track bar tells its position with its unit, and a combo
// box goes by the name it is given (Qt on Linux names it after its current text instead).
#include <QString>

namespace widgets {

// The text as a label shows it: "&x" shows x, "&&" shows "&".
QString StripMnemonic(const QString& text);

// Registers those interfaces with Qt's accessibility, at start-up before any window exists (an
// interface, once asked for, stays with its control).
void InstallAccessibility();

}  // namespace widgets
