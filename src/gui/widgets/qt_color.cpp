#include "gui/widgets/qt_color.h"

#include <QApplication>
#include <QPalette>

namespace widgets {
namespace {

ColorCode PaletteColor(int index) {
    const QPalette pal = QApplication::palette();
    QColor c;
    switch (index) {
        case 5:
            c = pal.color(QPalette::Base);
            break;
        case 6:
            c = pal.color(QPalette::Shadow);
            break;
        case 8:
            c = pal.color(QPalette::Text);
            break;
        case 15:
            c = pal.color(QPalette::Button);
            break;
        case 16:
            c = pal.color(QPalette::Dark);
            break;
        case 18:
            c = pal.color(QPalette::ButtonText);
            break;
        case 20:
            c = pal.color(QPalette::Light);
            break;
        default:
            c = pal.color(QPalette::WindowText);
            break;
    }
    return ColorFromRgb(std::uint8_t(c.red()), std::uint8_t(c.green()), std::uint8_t(c.blue()));
}

}  // namespace

ColorCode ToPlainRGB(ColorCode c) {
    return IsSystemColor(c) ? PaletteColor(int(c & 0xFF)) : c & 0xFFFFFF;
}

QColor ToQColor(ColorCode c) {
    const ColorCode rgb = ToPlainRGB(c);
    return QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

void InstallPaletteColorResolver() {
    SetSystemColorResolver(PaletteColor);
}

}  // namespace widgets
