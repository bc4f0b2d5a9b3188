// CWnd: attaching objects to windows and running their messages through the message maps.
#include "afx/wnd.h"

#include <cstdio>
#include <exception>
#include <string>

#include "afx/detail/handle_map.h"
#include "afx/win_app.h"
#include "platform/output.h"
#include "win/menu.h"
#include "win/ui_thread.h"

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

namespace {

// The message being handled on this thread, for Default().
struct CurrentMessage {
    win::HWND window = nullptr;
    win::UINT message = 0;
    win::WPARAM wParam = 0;
    win::LPARAM lParam = 0;
};
thread_local CurrentMessage currentMessage;

void TraceException(win::UINT message, const char* what) {
    char line[256];
    std::snprintf(line, sizeof line, "exception in the handler of message 0x%04X: %s\n", message,
                  what);
    plat::OutputDebugStringA(line);
}

void ForgetMainWindow(const CWnd* wnd) {
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd == wnd) {
        app->m_pMainWnd = nullptr;
    }
}

}  // namespace

CWnd::CWnd() = default;

CWnd::~CWnd() {
    ForgetMainWindow(this);
    const win::HWND window = m_hWnd.load();
    if (window == nullptr) {
        return;
    }
    win::RunOnUiThread([&] {
        afx::detail::RemovePermanent(window, this);
        if (subclassed_) {
            win::SubclassWindow(window, super_);
        }
    });
}

CWnd* CWnd::FromHandlePermanent(win::HWND window) {
    return afx::detail::FindPermanent(window);
}

void CWnd::AttachWithSuper(win::HWND window, win::WindowProcedure super) {
    m_hWnd = window;
    super_ = std::move(super);
    afx::detail::AddPermanent(window, this);
}

win::BOOL CWnd::SubclassWindow(win::HWND window) {
    if (window == nullptr || !win::IsWindow(window) || m_hWnd.load() != nullptr) {
        return FALSE;
    }
    win::WindowProcedure previous = win::SubclassWindow(
        window, [this](win::HWND h, win::UINT message, win::WPARAM w, win::LPARAM l) {
            return CallWndProc(this, h, message, w, l);
        });
    AttachWithSuper(window, std::move(previous));
    subclassed_ = true;
    return TRUE;
}

win::BOOL CWnd::SubclassDlgItem(win::UINT id, CWnd* parent) {
    if (parent == nullptr) {
        return FALSE;
    }
    return SubclassWindow(win::GetDlgItem(parent->GetSafeHwnd(), static_cast<int>(id)));
}

win::HWND CWnd::UnsubclassWindow() {
    const win::HWND window = m_hWnd.load();
    if (window == nullptr) {
        return nullptr;
    }
    if (subclassed_) {
        win::SubclassWindow(window, super_);
    }
    afx::detail::RemovePermanent(window, this);
    m_hWnd = nullptr;
    super_ = {};
    subclassed_ = false;
    return window;
}

void CWnd::DetachAfterLastMessage() {
    afx::detail::RemovePermanent(m_hWnd.load(), this);
    m_hWnd = nullptr;
    super_ = {};
    subclassed_ = false;
    standIns_.clear();
    systemMenu_.reset();
    ForgetMainWindow(this);
    PostNcDestroy();
}

win::LRESULT CWnd::CallWndProc(CWnd* wnd, win::HWND window, win::UINT message, win::WPARAM wParam,
                               win::LPARAM lParam) {
    const CurrentMessage outer = currentMessage;
    currentMessage = CurrentMessage{window, message, wParam, lParam};
    win::LRESULT result = 0;
    try {
        result = wnd->WindowProc(message, wParam, lParam);
    } catch (const std::exception& e) {
        // Never into the renderer's loop: leave a trace and go on with the next message.
        TraceException(message, e.what());
    } catch (...) {
        TraceException(message, "unknown exception");
    }
    currentMessage = outer;
    if (message == win::WM_NCDESTROY && wnd->m_hWnd.load() == window) {
        wnd->DetachAfterLastMessage();
    }
    return result;
}

win::LRESULT CWnd::WindowProc(win::UINT message, win::WPARAM wParam, win::LPARAM lParam) {
    win::LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) {
        result = DefWindowProc(message, wParam, lParam);
    }
    return result;
}

win::LRESULT CWnd::DefWindowProc(win::UINT message, win::WPARAM wParam, win::LPARAM lParam) {
    return win::CallWindowProcW(super_, m_hWnd.load(), message, wParam, lParam);
}

win::LRESULT CWnd::Default() {
    const CurrentMessage current = currentMessage;
    if (current.window == nullptr || current.window != m_hWnd.load()) {
        return 0;
    }
    return DefWindowProc(current.message, current.wParam, current.lParam);
}

win::BOOL CWnd::OnCommand(win::WPARAM wParam, win::LPARAM) {
    return OnCmdMsg(win::LOWORD(wParam), win::HIWORD(wParam)) ? TRUE : FALSE;
}

win::BOOL CWnd::OnWndMsg(win::UINT message, win::WPARAM wParam, win::LPARAM lParam,
                         win::LRESULT* result) {
    if (message == win::WM_COMMAND) {
        if (OnCommand(wParam, lParam)) {
            *result = 0;
            return TRUE;
        }
        return FALSE;
    }
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(message, 0, 0);
    if (entry == nullptr) {
        return FALSE;
    }
    *result = entry->pfn(this, wParam, lParam);
    return TRUE;
}

CWnd* CWnd::GetDlgItem(int id) const {
    CWnd* found = nullptr;
    win::RunOnUiThread([&] {
        const win::HWND control = win::GetDlgItem(m_hWnd.load(), id);
        if (control == nullptr) {
            return;
        }
        if (CWnd* attached = FromHandlePermanent(control)) {
            found = attached;
            return;
        }
        std::unique_ptr<CWnd>& standIn = standIns_[control];
        if (!standIn) {
            standIn = std::make_unique<CWnd>();
            standIn->m_hWnd = control;
        }
        found = standIn.get();
    });
    return found;
}

CMenu* CWnd::GetSystemMenu(win::BOOL bRevert) const {
    CMenu* menu = nullptr;
    win::RunOnUiThread([&] {
        const win::HMENU handle = win::GetSystemMenu(m_hWnd.load(), bRevert);
        if (handle == nullptr) {
            return;
        }
        if (!systemMenu_ || systemMenu_->m_hMenu != handle) {
            systemMenu_ = std::make_unique<CMenu>(handle);
        }
        menu = systemMenu_.get();
    });
    return menu;
}

void CWnd::DoDataExchange(CDataExchange*) {}

win::BOOL CWnd::UpdateData(win::BOOL bSaveAndValidate) {
    // Members and controls are touched on the UI thread only.
    win::BOOL done = FALSE;
    win::RunOnUiThread([&] {
        CDataExchange exchange(this, bSaveAndValidate);
        DoDataExchange(&exchange);
        done = TRUE;
    });
    return done;
}
