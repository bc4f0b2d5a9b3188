#include "win/message_box.h"

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/codepage.h"
#include "platform/kernel.h"
#include "win/detail/carry_out.h"
#include "win/detail/dialog_creation.h"
#include "win/detail/message_box_layout.h"
#include "win/detail/window_ops.h"
#include "win/detail/window_registry.h"
#include "win/quit.h"
#include "win/renderer.h"

namespace win {
namespace {

// The answer a waiting thread gets from a box it asked the UI thread for.
struct WorkerAnswer {
    std::mutex mutex;
    std::condition_variable changed;
    std::optional<int> value;
    bool callerEnding = false;

    void Deliver(int answer) {
        std::lock_guard lock(mutex);
        if (!value) {
            value = answer;
        }
        changed.notify_all();
    }
};

struct BoxInfo {
    std::vector<int> buttons;
    UINT kind = MB_OK;
    std::shared_ptr<WorkerAnswer> worker;  // null for a box with a modal loop
    HWND owner = nullptr;
    bool holdsOwner = false;
};

void Answer(BoxInfo& info, HWND box, int answer) {
    if (info.worker) {
        info.worker->Deliver(answer);
        DestroyWindow(box);
    } else {
        EndDialog(box, answer);
    }
}

WindowProcedure BoxProcedure(std::shared_ptr<BoxInfo> info) {
    return [info](HWND box, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        switch (message) {
            case WM_COMMAND: {
                const int id = LOWORD(wParam);
                if (std::find(info->buttons.begin(), info->buttons.end(), id) !=
                    info->buttons.end()) {
                    Answer(*info, box, id);
                } else if (id == IDCANCEL && info->kind != MB_YESNO) {
                    // Esc and the close box of a box with one button are that button.
                    Answer(*info, box, IDOK);
                }
                return 0;
            }
            case WM_NCDESTROY:
                if (info->holdsOwner) {
                    info->holdsOwner = false;
                    detail::ReleaseOwner(info->owner);
                }
                if (info->worker) {
                    info->worker->Deliver(0);  // gone without an answer
                }
                break;
            default:
                break;
        }
        return DefDlgProcW(box, message, wParam, lParam);
    };
}

std::shared_ptr<BoxInfo> MakeInfo(HWND owner, UINT kind) {
    auto info = std::make_shared<BoxInfo>();
    for (const detail::MessageBoxButton& button : detail::MessageBoxButtons(kind)) {
        info->buttons.push_back(button.id);
    }
    info->kind = kind;
    info->owner = owner;
    return info;
}

HWND CreateBox(const std::shared_ptr<BoxInfo>& info, const std::u16string& text,
               const std::u16string& caption) {
    const DialogTemplate box = detail::MessageBoxTemplate(text, caption, info->kind);
    const detail::DialogKind kind{true, info->kind != MB_YESNO};
    return detail::CreateAndInitialise(box, info->owner, BoxProcedure(info), 0, kind);
}

int RunModalBox(HWND owner, const std::u16string& text, const std::u16string& caption, UINT kind) {
    if (!OnUiThread() || CurrentRenderer() == nullptr || QuitPosted()) {
        return 0;
    }
    const HWND box = CreateBox(MakeInfo(owner, kind), text, caption);
    if (box == nullptr) {
        return 0;
    }
    const INT_PTR answer = detail::RunModal(box);
    return answer < 0 ? 0 : static_cast<int>(answer);
}

// UI thread: the box of another thread, shown without a loop of its own.
HWND OpenWorkerBox(const std::shared_ptr<BoxInfo>& info, const std::u16string& text,
                   const std::u16string& caption) {
    if (CurrentRenderer() == nullptr || QuitPosted()) {
        return nullptr;
    }
    const HWND box = CreateBox(info, text, caption);
    detail::WindowState* state = detail::Find(box);
    if (state == nullptr) {
        return nullptr;
    }
    if (info->owner != nullptr) {
        info->holdsOwner = true;
        detail::HoldOwner(info->owner);
    }
    detail::SetVisible(*state, true);
    return box;
}

int WorkerBox(HWND owner, const std::u16string& text, const std::u16string& caption, UINT kind) {
    const std::shared_ptr<BoxInfo> info = MakeInfo(owner, kind);
    info->worker = std::make_shared<WorkerAnswer>();
    const std::shared_ptr<WorkerAnswer> answer = info->worker;
    HWND box = nullptr;
    if (!InvokeOnUiThread([&] { box = OpenWorkerBox(info, text, caption); }) || box == nullptr) {
        return 0;
    }
    {
        plat::InterruptibleWait endWatch([answer] {
            std::lock_guard lock(answer->mutex);
            answer->callerEnding = true;
            answer->changed.notify_all();
        });
        std::unique_lock lock(answer->mutex);
        answer->changed.wait(lock, [&] {
            return answer->value.has_value() || answer->callerEnding || plat::CurrentThreadEnding();
        });
        if (answer->value) {
            return *answer->value;
        }
    }
    // The caller is being ended: take the box off the screen without waiting for that.
    PostToWindow(box, [box] { DestroyWindow(box); });
    return 0;
}

struct ApplicationNameStore {
    std::mutex mutex;
    std::u16string name;
};

ApplicationNameStore& NameStore() {
    static ApplicationNameStore store;
    return store;
}

std::u16string CaptionWhenNone() {
    std::u16string name = ApplicationName();
    return name.empty() ? std::u16string(u"错误") : name;
}

}  // namespace

int MessageBoxW(HWND owner, const char16_t* text, const char16_t* caption, UINT type) {
    const std::u16string body = text != nullptr ? text : u"";
    const std::u16string title = caption != nullptr ? caption : CaptionWhenNone();
    const UINT kind = (type & MB_TYPEMASK) == MB_YESNO ? MB_YESNO : MB_OK;
    if (detail::RunsHere()) {
        return RunModalBox(owner, body, title, kind);
    }
    return WorkerBox(owner, body, title, kind);
}

int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type) {
    const std::u16string body = text != nullptr ? plat::AnsiToWideString(text) : u"";
    if (caption == nullptr) {
        return MessageBoxW(owner, body.c_str(), nullptr, type);
    }
    const std::u16string title = plat::AnsiToWideString(caption);
    return MessageBoxW(owner, body.c_str(), title.c_str(), type);
}

void SetApplicationName(const std::u16string& name) {
    ApplicationNameStore& store = NameStore();
    std::lock_guard lock(store.mutex);
    store.name = name;
}

std::u16string ApplicationName() {
    ApplicationNameStore& store = NameStore();
    std::lock_guard lock(store.mutex);
    return store.name;
}

}  // namespace win
