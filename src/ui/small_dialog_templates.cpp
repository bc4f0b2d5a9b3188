#include "ui/dialog_templates.h"
#include "ui/resource.h"
#include "ui/template_control.h"

namespace {

using win::WindowClass;

// Popup, caption, system menu, modal frame, font given, fixed system font.
constexpr win::DWORD kSmallDialogStyle = 0x80C800C8;
constexpr win::DWORD kChildVisible = win::WS_CHILD | win::WS_VISIBLE;

// Every control of these templates is a visible child.
win::ControlTemplate Control(int id, WindowClass cls, win::DWORD style, int x, int y, int cx,
                             int cy, const char16_t* text = u"") {
    return TemplateControl(id, cls, kChildVisible | style, x, y, cx, cy, text);
}

win::DialogTemplate SmallDialog(unsigned id, const char16_t* caption, int cx, int cy, int charset) {
    win::DialogTemplate t;
    t.resourceId = static_cast<int>(id);
    t.caption = caption;
    t.style = kSmallDialogStyle;
    t.cx = cx;
    t.cy = cy;
    t.font = {u"MS Shell Dlg", 9, 0, false, charset};
    return t;
}

}  // namespace

win::DialogTemplate AboutDialogTemplate() {
    win::DialogTemplate t = SmallDialog(IDD_ABOUTBOX, u"关于 TOOL", 170, 62, 1);
    win::ControlTemplate icon =
        Control(IDC_STATIC, WindowClass::Static, win::SS_ICON, 14, 14, 20, 20);
    icon.iconResource = IDR_MAINFRAME;
    t.controls = {
        icon,
        Control(IDC_STATIC, WindowClass::Static, win::SS_LEFT | win::SS_NOPREFIX | win::WS_GROUP,
                42, 14, 114, 8, u"KAVRO 搜索工具，1.0 版"),
        Control(IDC_STATIC, WindowClass::Static, win::SS_LEFT | win::WS_GROUP, 42, 26, 114, 8,
                u"版权所有 (C) 2026 Quorvel"),
        Control(win::IDOK, WindowClass::Button,
                win::BS_DEFPUSHBUTTON | win::WS_TABSTOP | win::WS_GROUP, 113, 41, 50, 14, u"确定"),
    };
    return t;
}

win::DialogTemplate CredentialDialogTemplate() {
    win::DialogTemplate t = SmallDialog(IDD_USERNAMEPW, u"请输入设备的用户名和密码", 222, 148, 1);
    const win::DWORD edit = win::WS_BORDER | win::WS_TABSTOP | win::ES_AUTOHSCROLL;
    t.controls = {
        Control(win::IDOK, WindowClass::Button, win::BS_DEFPUSHBUTTON | win::WS_TABSTOP, 48, 99, 50,
                14, u"确定"),
        Control(win::IDCANCEL, WindowClass::Button, win::BS_PUSHBUTTON | win::WS_TABSTOP, 114, 99,
                50, 14, u"取消"),
        Control(IDC_STATIC, WindowClass::Static, win::SS_LEFT | win::WS_GROUP, 41, 43, 22, 8,
                u"用户名"),
        Control(IDC_STATIC, WindowClass::Static, win::SS_LEFT | win::WS_GROUP, 42, 65, 15, 8,
                u"密码"),
        Control(IDC_USERNAME, WindowClass::Edit, edit, 65, 39, 81, 14),
        Control(IDC_PASSWORD, WindowClass::Edit, edit | win::ES_PASSWORD, 65, 61, 81, 14),
        Control(IDC_SHOW_PASSWORD, WindowClass::Button, win::BS_AUTOCHECKBOX | win::WS_TABSTOP, 151,
                64, 30, 10, u"显示"),
    };
    return t;
}

win::DialogTemplate DeviceIdDialogTemplate() {
    win::DialogTemplate t = SmallDialog(IDD_DEVID, u"对话框", 249, 117, 0);
    t.controls = {
        Control(win::IDOK, WindowClass::Button, win::BS_DEFPUSHBUTTON | win::WS_TABSTOP, 82, 79, 50,
                14, u"确定"),
        Control(IDC_STATIC, WindowClass::Static, win::SS_LEFT | win::WS_GROUP, 24, 42, 23, 8,
                u"设备ID"),
        Control(IDC_DEVID, WindowClass::Edit,
                win::WS_BORDER | win::WS_TABSTOP | win::ES_AUTOHSCROLL, 53, 40, 152, 14),
    };
    return t;
}
