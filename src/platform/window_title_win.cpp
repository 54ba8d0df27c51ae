#include <QWindow>

#include "platform/win32.h"
#include "platform/window_title.h"

namespace platform {

void ClearNativeTitle(QWindow& window) {
    SetWindowTextW(reinterpret_cast<HWND>(window.winId()), L"");
}

}  // namespace platform
