#include "gui/widgets/fonts.h"

#include <QFont>
#include <QStringList>

namespace widgets {

QFont WindowFont(int pixelHeight, const char* family) {
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixelHeight);
    return font;
}

void InstallFontSubstitutes() {
    const QStringList sans = {"Liberation Sans", "Arimo", "Arial", "Helvetica", "DejaVu Sans"};
    QFont::insertSubstitutions("MS Sans Serif", sans);
    QFont::insertSubstitutions("Arial", sans);
}

}  // namespace widgets
