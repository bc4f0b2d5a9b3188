// Runs a window call where it belongs: at once on the UI thread (or when there is no UI thread
// at all), otherwise on the UI thread while the caller waits. A dropped call gives R{}.
#pragma once

#include <type_traits>

#include "win/ui_thread.h"

namespace win::detail {

bool HasUiThread();

inline bool RunsHere() {
    return OnUiThread() || !HasUiThread();
}

template <class F>
auto CarryOut(F&& call) -> std::invoke_result_t<F&> {
    using Result = std::invoke_result_t<F&>;
    if (RunsHere()) {
        return call();
    }
    if constexpr (std::is_void_v<Result>) {
        InvokeOnUiThread([&] { call(); });
    } else {
        Result result{};
        if (!InvokeOnUiThread([&] { result = call(); })) {
            return Result{};
        }
        return result;
    }
}

}  // namespace win::detail
