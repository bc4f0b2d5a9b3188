#include "win/quit.h"

#include <atomic>

#include "win/detail/quit_state.h"
#include "win/renderer.h"

namespace win {
namespace {

std::atomic<bool> posted{false};
std::atomic<int> code{0};
std::atomic_flag claimed = ATOMIC_FLAG_INIT;

}  // namespace

void PostQuitMessage(int exitCode) {
    if (!claimed.test_and_set()) {
        code.store(exitCode);
        posted.store(true);
    }
    if (Renderer* renderer = CurrentRenderer()) {
        renderer->Wake();  // every loop looks at its end condition again
    }
}

std::optional<int> QuitPosted() {
    if (!posted.load()) {
        return std::nullopt;
    }
    return code.load();
}

namespace detail {

void ForgetQuit() {
    posted.store(false);
    claimed.clear();
}

}  // namespace detail
}  // namespace win
