// Test dialogs and a recording dialog procedure for the window-system tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "win/dialog.h"
#include "win/headless/session.h"
#include "win/window_api.h"

namespace win::testing {

constexpr int kPushId = 1000;
constexpr int kEditId = 1001;
constexpr int kListId = 1002;
constexpr int kAddressId = 1003;
constexpr int kBoxId = 1004;
constexpr int kDisabledPushId = 1005;
constexpr int kDefaultPushId = 1006;

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;

// A dialog with one control of each class, in this tab order: push 1000, a label, edit 1001,
// list 1002, address 1003, box 1004, disabled push 1005, then (when asked) the default push
// button 1006, and Cancel.
inline DialogTemplate TestDialog(std::u16string caption = u"测试对话框",
                                 bool withDefaultButton = true) {
    DialogTemplate dialog;
    dialog.caption = std::move(caption);
    dialog.style = kDialogStyle;
    dialog.cx = 200;
    dialog.cy = 120;
    dialog.font = DialogFont{u"MS Shell Dlg", 9, 0, false, 1};
    auto add = [&dialog](int id, WindowClass cls, DWORD style, std::u16string text) {
        dialog.controls.push_back(
            ControlTemplate{id, cls, kChild | style, 0, 10, 10, 50, 14, std::move(text), 0});
    };
    add(kPushId, WindowClass::Button, WS_TABSTOP | BS_PUSHBUTTON, u"按钮");
    add(-1, WindowClass::Static, SS_LEFT, u"标签");
    add(kEditId, WindowClass::Edit, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, u"");
    add(kListId, WindowClass::ListBox, WS_TABSTOP | LBS_NOTIFY | LBS_SORT, u"");
    add(kAddressId, WindowClass::IpAddress, WS_TABSTOP, u"");
    add(kBoxId, WindowClass::Button, WS_TABSTOP | BS_AUTOCHECKBOX, u"自动获取");
    add(kDisabledPushId, WindowClass::Button, WS_TABSTOP | WS_DISABLED, u"不可用");
    if (withDefaultButton) {
        add(kDefaultPushId, WindowClass::Button, WS_TABSTOP | BS_DEFPUSHBUTTON, u"默认");
    }
    add(IDCANCEL, WindowClass::Button, WS_TABSTOP | BS_PUSHBUTTON, u"取消");
    return dialog;
}

struct Command {
    int id;
    UINT code;
    bool operator==(const Command&) const = default;
};

inline void PrintTo(const Command& c, std::ostream* os) {
    *os << "{" << c.id << ", " << c.code << "}";
}

// Records what reaches the dialog; IDOK and IDCANCEL end it when `endOnOkCancel`.
struct Recorder {
    std::vector<Command> commands;
    std::vector<WPARAM> systemCommands;
    LRESULT initResult = TRUE;
    bool endOnOkCancel = true;

    WindowProcedure Procedure() {
        return [this](HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
            switch (message) {
                case WM_INITDIALOG:
                    return initResult;
                case WM_COMMAND:
                    commands.push_back({LOWORD(wParam), HIWORD(wParam)});
                    if (endOnOkCancel && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
                        EndDialog(dialog, LOWORD(wParam));
                    }
                    return 0;
                case WM_SYSCOMMAND:
                    systemCommands.push_back(wParam);
                    break;
                default:
                    break;
            }
            return DefDlgProcW(dialog, message, wParam, lParam);
        };
    }
};

// Destroys a window when the scope ends: declared after the locals that the window's procedure
// refers to, it goes before them.
struct CloseOnExit {
    HWND window;
    ~CloseOnExit() { DestroyWindow(window); }
};

// Test names from the `name` of a table's case.
template <class Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& param) {
    return param.param.name;
}

// A session whose failures fail the test.
class SessionTest : public ::testing::Test {
  protected:
    headless::Session session{[](const std::string& message) { ADD_FAILURE() << message; }};
};

}  // namespace win::testing
