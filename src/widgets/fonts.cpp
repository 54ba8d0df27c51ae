#include "widgets/fonts.h"

#include <QFont>
#include <QStringList>

namespace widgets {

void InstallFontSubstitutes() {
    const QStringList sans = {"Liberation Sans", "Arimo", "Arial", "Helvetica", "DejaVu Sans"};
    QFont::insertSubstitutions("MS Sans Serif", sans);
    QFont::insertSubstitutions("Arial", sans);
}

}  // namespace widgets
