// Test templates and a session fixture for the class-library tests.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "afx/afx.h"
#include "afx/testing/open_dialog.h"
#include "win/dialog.h"
#include "win/headless/probe.h"
#include "win/headless/session.h"

namespace afx_test {

constexpr UINT kFormTemplate = 9001;   // caption "表单": the controls below, OK and Cancel
constexpr UINT kSmallTemplate = 9002;  // caption "小窗口": OK only, 160 x 28 units, minimisable
constexpr int kGoId = 1000;
constexpr int kNameId = 1001;
constexpr int kListId = 1002;
constexpr int kAddressId = 1003;
constexpr int kBoxId = 1004;
constexpr int kOtherId = 1005;

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

inline void RegisterTestTemplates() {
    const win::DialogFont font{u"MS Shell Dlg", 9, 0, false, 1};
    win::DialogTemplate form;
    form.resourceId = kFormTemplate;
    form.caption = u"表单";
    form.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    form.cx = 220;
    form.cy = 140;
    form.font = font;
    auto add = [&form](int id, win::WindowClass cls, DWORD style, std::u16string text) {
        form.controls.push_back(
            win::ControlTemplate{id, cls, kChild | style, 0, 10, 10, 60, 14, std::move(text), 0});
    };
    add(kGoId, win::WindowClass::Button, WS_TABSTOP, u"开始");
    add(kNameId, win::WindowClass::Edit, WS_TABSTOP | WS_BORDER, u"");
    add(kListId, win::WindowClass::ListBox, WS_TABSTOP | LBS_NOTIFY | LBS_SORT, u"");
    add(kAddressId, win::WindowClass::IpAddress, WS_TABSTOP, u"");
    add(kBoxId, win::WindowClass::Button, WS_TABSTOP | BS_AUTOCHECKBOX, u"显示");
    add(kOtherId, win::WindowClass::Button, WS_TABSTOP, u"其他");
    add(IDOK, win::WindowClass::Button, WS_TABSTOP | BS_DEFPUSHBUTTON, u"确定");
    add(IDCANCEL, win::WindowClass::Button, WS_TABSTOP, u"取消");
    win::RegisterDialogTemplate(form);

    win::DialogTemplate small;
    small.resourceId = kSmallTemplate;
    small.caption = u"小窗口";
    small.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME;
    small.cx = 160;
    small.cy = 28;
    small.font = font;
    small.controls.push_back(win::ControlTemplate{IDOK, win::WindowClass::Button,
                                                  kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 5, 5,
                                                  50, 14, u"确定", 0});
    win::RegisterDialogTemplate(small);
}

class AfxTest : public ::testing::Test {
  protected:
    AfxTest() {
        RegisterTestTemplates();
        AfxWinInit("/usr/local/bin/quorvel");
    }
    win::headless::Session session{[](const std::string& message) { ADD_FAILURE() << message; }};
};

}  // namespace afx_test
