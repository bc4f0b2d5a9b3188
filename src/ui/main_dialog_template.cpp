#include "ui/dialog_templates.h"
#include "ui/resource.h"
#include "ui/template_control.h"

namespace {

using win::WindowClass;

// The style sets of the main window's controls.
constexpr win::DWORD kPush = 0x50010000;     // child, visible, tab stop, push button
constexpr win::DWORD kList = 0x50A10103;     // + border, v-scroll, notify, sort, no integral h.
constexpr win::DWORD kLabel = 0x50020000;    // child, visible, group, left text
constexpr win::DWORD kName = 0x50810880;     // + border, tab stop, auto h-scroll, read-only
constexpr win::DWORD kAddress = 0x50010000;  // child, visible, tab stop
constexpr win::DWORD kBox = 0x50010003;      // + tab stop, automatic check box
constexpr win::DWORD kFrame = 0x50000007;    // child, visible, group box

}  // namespace

win::DialogTemplate MainDialogTemplate() {
    win::DialogTemplate t;
    t.resourceId = IDD_QUORVEL_DIALOG;
    t.caption = u"KAVRO 搜索工具 v8.3";
    t.style = 0x90CA00C8;  // popup, visible, caption, system menu, minimise box, modal frame
    t.exStyle = win::WS_EX_APPWINDOW;
    t.x = 0;
    t.y = 0;
    t.cx = 580;
    t.cy = 292;
    t.font = {u"MS Shell Dlg", 9, 0, false, 1};

    const auto B = WindowClass::Button;
    const auto S = WindowClass::Static;
    const auto E = WindowClass::Edit;
    const auto L = WindowClass::ListBox;
    const auto A = WindowClass::IpAddress;
    const int X = IDC_STATIC;
    t.controls = {
        TemplateControl(IDC_SEARCH, B, kPush, 523, 256, 50, 24, u"搜索"),
        TemplateControl(IDC_LIST, L, kList, 3, 0, 566, 150),
        TemplateControl(X, S, kLabel, 8, 174, 19, 8, u"网卡1"),
        TemplateControl(X, S, kLabel, 140, 174, 8, 8, u"IP"),
        TemplateControl(X, S, kLabel, 260, 174, 53, 8, u"子网掩码"),
        TemplateControl(X, S, kLabel, 405, 174, 24, 8, u"网关"),
        TemplateControl(1003, E, kName, 28, 171, 100, 14),
        TemplateControl(1004, A, kAddress, 151, 171, 100, 15),
        TemplateControl(1005, A, kAddress, 291, 171, 100, 15),
        TemplateControl(1006, A, kAddress, 422, 171, 100, 15),
        TemplateControl(1007, B, kBox, 531, 172, 43, 10, u"自动获取"),
        TemplateControl(X, S, kLabel, 8, 203, 19, 8, u"网卡2"),
        TemplateControl(X, S, kLabel, 140, 203, 8, 8, u"IP"),
        TemplateControl(X, S, kLabel, 261, 203, 53, 8, u"子网掩码"),
        TemplateControl(X, S, kLabel, 405, 203, 24, 8, u"网关"),
        TemplateControl(1008, E, kName, 28, 200, 100, 14),
        TemplateControl(1009, A, kAddress, 151, 200, 100, 15),
        TemplateControl(1010, A, kAddress, 291, 200, 100, 15),
        TemplateControl(1011, A, kAddress, 422, 200, 100, 15),
        TemplateControl(1012, B, kBox, 531, 201, 43, 10, u"自动获取"),
        TemplateControl(X, S, kLabel, 8, 231, 15, 8, u"无线"),
        TemplateControl(X, S, kLabel, 140, 231, 8, 8, u"IP"),
        TemplateControl(X, S, kLabel, 261, 231, 53, 8, u"子网掩码"),
        TemplateControl(X, S, kLabel, 405, 231, 24, 8, u"网关"),
        TemplateControl(1013, E, kName, 28, 228, 100, 14),
        TemplateControl(1014, A, kAddress, 151, 228, 100, 15),
        TemplateControl(1015, A, kAddress, 291, 228, 100, 15),
        TemplateControl(1016, A, kAddress, 422, 228, 100, 15),
        TemplateControl(1017, B, kBox, 531, 229, 43, 10, u"自动获取"),
        TemplateControl(X, S, kLabel, 16, 264, 28, 8, u"首选DNS"),
        TemplateControl(IDC_DNS1, A, kAddress, 53, 261, 100, 15),
        TemplateControl(X, S, kLabel, 174, 264, 28, 8, u"备用DNS"),
        TemplateControl(IDC_DNS2, A, kAddress, 211, 261, 100, 15),
        TemplateControl(IDC_DNS_AUTO, B, kBox, 334, 262, 43, 10, u"自动获取"),
        TemplateControl(X, B, kFrame, 4, 158, 571, 97, u"网络配置"),
        TemplateControl(X, B, kFrame, 4, 187, 570, 9),
        TemplateControl(X, B, kFrame, 4, 216, 570, 9),
        TemplateControl(X, B, kFrame, 4, 251, 392, 31),
        TemplateControl(IDC_MODIFY, B, kPush, 405, 256, 50, 24, u"修改"),
        TemplateControl(IDC_REBOOT, B, kPush, 465, 256, 50, 24, u"重启"),
    };
    return t;
}
