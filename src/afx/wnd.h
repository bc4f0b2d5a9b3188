// CWnd: a C++ object attached to a window. Messages to an attached window run through the
// object's WindowProc and message maps; what they leave goes to the window's previous procedure.
//
// The calls may be made on any thread, as the window system's own: on another thread they are
// carried out on the UI thread.
#pragma once

#include <atomic>
#include <map>
#include <memory>

#include "afx/cstring.h"
#include "afx/data_exchange.h"
#include "afx/menu.h"
#include "afx/message_map.h"
#include "afx/rect.h"
#include "win/types.h"
#include "win/window_api.h"

class CWnd : public CCmdTarget {
    DECLARE_DYNAMIC(CWnd)
  public:
    CWnd();
    // Detaches from a window that still exists; a dialog's window is destroyed with it.
    ~CWnd() override;

    // Atomic because a worker's message box reads it while the UI thread may detach.
    std::atomic<win::HWND> m_hWnd{nullptr};
    win::HWND GetSafeHwnd() const { return m_hWnd.load(); }
    operator win::HWND() const { return m_hWnd.load(); }

    // The object of an attached window, or null.
    static CWnd* FromHandlePermanent(win::HWND window);
    // Attaches this object and routes the window's messages through it.
    win::BOOL SubclassWindow(win::HWND window);
    win::BOOL SubclassDlgItem(win::UINT id, CWnd* parent);
    // Gives the window its previous procedure back and detaches.
    win::HWND UnsubclassWindow();

    // The attached object of the control, else a stand-in object owned by this window's object
    // until the window is destroyed. Null when there is no such control.
    CWnd* GetDlgItem(int id) const;
    int GetDlgCtrlID() const;

    void SetWindowText(const char16_t* text);
    void GetWindowText(CString& text) const;
    int GetWindowTextLength() const;
    win::BOOL EnableWindow(win::BOOL bEnable = TRUE);
    win::BOOL IsWindowEnabled() const;
    win::BOOL ShowWindow(int nCmdShow);
    CWnd* SetFocus();
    win::BOOL IsIconic() const;
    win::DWORD GetStyle() const;
    // Centred over the owner (on the work area without one), within the work area.
    void CenterWindow();
    void GetClientRect(win::RECT* rect) const;
    win::HICON SetIcon(win::HICON icon, win::BOOL bBigIcon);
    void UpdateWindow() const;
    virtual win::BOOL DestroyWindow();

    win::LRESULT SendMessage(win::UINT message, win::WPARAM wParam = 0,
                             win::LPARAM lParam = 0) const;
    // A box owned by this window. A null caption shows the application's name.
    int MessageBox(const char16_t* text, const char16_t* caption = nullptr,
                   win::UINT type = win::MB_OK) const;

    // TRUE: controls to members; FALSE: members to controls. Runs DoDataExchange.
    win::BOOL UpdateData(win::BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);

    // The system menu, or null when the window has none. Valid while the window exists.
    CMenu* GetSystemMenu(win::BOOL bRevert) const;

    // The message being handled, to the default handling unchanged.
    win::LRESULT Default();

    virtual win::LRESULT WindowProc(win::UINT message, win::WPARAM wParam, win::LPARAM lParam);
    virtual win::LRESULT DefWindowProc(win::UINT message, win::WPARAM wParam, win::LPARAM lParam);
    // WM_COMMAND through OnCmdMsg; TRUE when a handler ran.
    virtual win::BOOL OnCommand(win::WPARAM wParam, win::LPARAM lParam);
    // Runs the message map; TRUE (and *result) when a handler ran.
    virtual win::BOOL OnWndMsg(win::UINT message, win::WPARAM wParam, win::LPARAM lParam,
                               win::LRESULT* result);
    // After the window's last message; the object is detached by then.
    virtual void PostNcDestroy() {}

    // The dispatcher: every message to an attached window comes through here.
    static win::LRESULT CallWndProc(CWnd* wnd, win::HWND window, win::UINT message,
                                    win::WPARAM wParam, win::LPARAM lParam);

  protected:
    // Attaches without changing the window's procedure (the procedure already calls us).
    void AttachWithSuper(win::HWND window, win::WindowProcedure super);

    DECLARE_MESSAGE_MAP()

  private:
    void DetachAfterLastMessage();

    win::WindowProcedure super_;
    bool subclassed_ = false;
    mutable std::map<win::HWND, std::unique_ptr<CWnd>> standIns_;
    mutable std::unique_ptr<CMenu> systemMenu_;
};
