#include <QWindow>

#include "core/platform/win32.h"
#include "gui/platform/window_title.h"

namespace platform {

void ClearNativeTitle(QWindow& window) {
    SetWindowTextW(reinterpret_cast<HWND>(window.winId()), L"");
}

}  // namespace platform
