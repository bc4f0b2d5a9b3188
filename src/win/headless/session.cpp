#include "win/headless/session.h"

#include <algorithm>
#include <cstdio>

#include "platform/codepage.h"
#include "win/dialog.h"
#include "win/headless/probe.h"
#include "win/input.h"
#include "win/ui_thread.h"
#include "win/window.h"
#include "win/window_api.h"

namespace win::headless {
namespace {

constexpr Session::Milliseconds kIdleWait{20};
constexpr Session::Milliseconds kPumpSlice{10};

int MulDiv(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : (product - half) / denominator);
}

bool Fits(const Script& script, const Window& window) {
    // Dialogs that the test opened itself, without a loop, are the test's to drive.
    if (!window.IsMessageBox() && !window.IsModalRunning()) {
        return false;
    }
    if (script.used || script.forMessageBox != window.IsMessageBox()) {
        return false;
    }
    if (script.caption && *script.caption != window.Text()) {
        return false;
    }
    return !script.text || *script.text == BoxText(window.Handle());
}

// The innermost modal loop's window: nested runs are opened after the ones they nest in.
HWND InnermostModal(const std::vector<HWND>& topLevel) {
    for (auto it = topLevel.rbegin(); it != topLevel.rend(); ++it) {
        const Window* window = FindWindow(*it);
        if (window != nullptr && window->IsModalRunning()) {
            return *it;
        }
    }
    return nullptr;
}

}  // namespace

Session::Session(FailureHandler onFailure) : onFailure_(std::move(onFailure)) {
    SetRenderer(this);
}

Session::~Session() {
    for (const auto& script : scripts_) {
        if (!script->used) {
            Fail("expected " + script->Describe() + " was never shown");
        }
    }
    const std::vector<HWND> open = TopLevelWindows();
    for (auto it = open.rbegin(); it != open.rend(); ++it) {
        DestroyWindow(*it);
    }
    RunQueuedCalls();
    SetRenderer(nullptr);
}

Script& Session::AddScript(bool forMessageBox, std::optional<std::u16string> caption,
                           std::optional<std::u16string> text) {
    auto script = std::make_unique<Script>();
    script->forMessageBox = forMessageBox;
    script->caption = std::move(caption);
    script->text = std::move(text);
    scripts_.push_back(std::move(script));
    return *scripts_.back();
}

Script& Session::ExpectDialog(std::u16string caption) {
    return AddScript(false, std::move(caption), std::nullopt);
}

Script& Session::ExpectBox(std::u16string text) {
    return AddScript(true, std::nullopt, std::move(text));
}

Script& Session::ExpectBox(std::u16string text, std::u16string caption) {
    return AddScript(true, std::move(caption), std::move(text));
}

void Session::SetDialogBaseUnits(int baseX, int baseY) {
    baseX_ = baseX;
    baseY_ = baseY;
}

void Session::Fail(const std::string& message) {
    ++failures_;
    if (onFailure_) {
        onFailure_(message);
    } else {
        std::fprintf(stderr, "headless session: %s\n", message.c_str());
    }
}

std::string Session::Describe(HWND window) const {
    const Window* state = FindWindow(window);
    if (state == nullptr) {
        return "a window that is gone";
    }
    std::string description = state->IsMessageBox() ? "message box" : "dialog";
    description += " \"" + plat::WideToUtf8(state->Text()) + "\"";
    if (state->IsMessageBox()) {
        description += " with text \"" + plat::WideToUtf8(BoxText(window)) + "\"";
    }
    return description;
}

void Session::Matched(HWND window) {
    const Window* state = FindWindow(window);
    shown_.push_back(ShownWindow{window, state->Text(),
                                 state->IsMessageBox() ? BoxText(window) : std::u16string(),
                                 state->IsMessageBox()});
    for (const auto& script : scripts_) {
        if (Fits(*script, *state)) {
            script->used = true;
            running_[window] = script.get();
            return;
        }
    }
}

void Session::WindowChanged(HWND window, Change change) {
    const Window* state = FindWindow(window);
    if (state == nullptr || state->Parent() != nullptr) {
        return;
    }
    const bool firstShow =
        std::none_of(shown_.begin(), shown_.end(),
                     [window](const ShownWindow& shown) { return shown.window == window; });
    if (change == Change::Visible && state->Visible() && firstShow) {
        Matched(window);
    } else if (change == Change::Destroyed) {
        auto it = running_.find(window);
        if (it != running_.end()) {
            if (!it->second->actions.empty()) {
                Fail(Describe(window) + " closed with scripted steps left, the next: " +
                     it->second->actions.front().description);
            }
            running_.erase(it);
        }
        claimed_.erase(window);
    }
}

// One scripted step of the newest window that may act: while a modal loop runs, only its
// window and windows opened after it (the others wait for the loop to end).
bool Session::RunOneStep() {
    const std::vector<HWND> topLevel = TopLevelWindows();
    const HWND modal = InnermostModal(topLevel);
    for (auto it = topLevel.rbegin(); it != topLevel.rend(); ++it) {
        auto running = running_.find(*it);
        const Window* window = FindWindow(*it);
        if (running != running_.end() && !running->second->actions.empty() && window != nullptr &&
            window->Visible()) {
            Script::Action action = std::move(running->second->actions.front());
            running->second->actions.pop_front();
            const HWND target = *it;
            const std::string where = Describe(target);
            try {
                if (!action.perform(target)) {
                    Fail("in " + where + " the operator could not " + action.description);
                }
            } catch (const std::exception& e) {
                Fail("in " + where + " the test's action threw: " + e.what());
            } catch (...) {
                Fail("in " + where + " the test's action threw");
            }
            return true;
        }
        if (*it == modal) {
            break;
        }
    }
    return false;
}

void Session::EndUnattended(HWND modal) {
    const Window* window = FindWindow(modal);
    const bool scripted = running_.contains(modal);
    Fail((scripted ? "the script ran out while this stayed open: " : "unexpected ") +
         Describe(modal));
    INT_PTR code = IDCANCEL;
    if (window->IsMessageBox()) {
        const std::vector<HWND> children = window->Children();
        for (auto it = children.rbegin(); it != children.rend(); ++it) {
            const Window* control = FindWindow(*it);
            if (control != nullptr && control->Class() == WindowClass::Button) {
                code = control->Id();
                break;
            }
        }
    }
    EndDialog(modal, code);
}

void Session::RunUntil(const std::function<bool()>& done) {
    for (;;) {
        RunQueuedCalls();
        if (done()) {
            return;
        }
        if (RunOneStep()) {
            continue;
        }
        if (const HWND modal = InnermostModal(TopLevelWindows())) {
            EndUnattended(modal);
            continue;
        }
        WaitForWake(kIdleWait);
    }
}

void Session::Wake() {
    std::lock_guard lock(wakeMutex_);
    woken_ = true;
    wakeSignal_.notify_all();
}

void Session::WaitForWake(Milliseconds timeout) {
    std::unique_lock lock(wakeMutex_);
    wakeSignal_.wait_for(lock, timeout, [this] { return woken_; });
    woken_ = false;
}

void Session::Pump() {
    do {
        RunQueuedCalls();
    } while (RunOneStep());
}

bool Session::PumpUntil(const std::function<bool()>& condition, Milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        Pump();
        if (condition()) {
            return true;
        }
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) {
            return false;
        }
        WaitForWake(std::min(kPumpSlice, std::chrono::duration_cast<Milliseconds>(deadline - now)));
    }
}

HWND Session::WaitForBox(Milliseconds timeout) {
    HWND found = nullptr;
    PumpUntil(
        [&] {
            for (HWND box : OpenMessageBoxes()) {
                if (!running_.contains(box) && !claimed_.contains(box)) {
                    found = box;
                    return true;
                }
            }
            return false;
        },
        timeout);
    if (found != nullptr) {
        claimed_.insert(found);
    }
    return found;
}

bool Session::Answer(HWND box, int buttonId) {
    const HWND button = GetDlgItem(box, buttonId);
    return button != nullptr && input::Click(button);
}

RECT Session::DialogUnitsToPixels(HWND, RECT units) {
    return RECT{MulDiv(units.left, baseX_, 4), MulDiv(units.top, baseY_, 8),
                MulDiv(units.right, baseX_, 4), MulDiv(units.bottom, baseY_, 8)};
}

}  // namespace win::headless
