#pragma once
// Every event handler runs inside the top-level error guard, so no exception reaches Qt's loop.
#include <utility>

#include "platform/messages.h"

namespace app {

template <class F>
auto Guarded(F handler) {
    return [handler = std::move(handler)](auto&&...) { platform::RunGuarded(handler); };
}

}  // namespace app
