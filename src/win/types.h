// Handles, messages and constants of the window system, with the values the tool's code uses.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace win {

using plat::BOOL;
using plat::DWORD;
using plat::LPARAM;
using plat::LRESULT;
using plat::UINT;
using plat::WORD;
using plat::WPARAM;
using INT_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;

// A window handle is a number that never comes back once its window is destroyed, so a call on
// a stale handle finds nothing instead of another window.
struct WindowHandleTag;
using HWND = WindowHandleTag*;
struct IconTag;
using HICON = IconTag*;
using HCURSOR = HICON;
struct MenuTag;
using HMENU = MenuTag*;
struct DeviceContextTag;
using HDC = DeviceContextTag*;

struct RECT {
    std::int32_t left, top, right, bottom;
};
struct POINT {
    std::int32_t x, y;
};

constexpr WORD LOWORD(WPARAM v) {
    return static_cast<WORD>(v & 0xFFFF);
}
constexpr WORD HIWORD(WPARAM v) {
    return static_cast<WORD>((v >> 16) & 0xFFFF);
}
constexpr WPARAM MAKEWPARAM(WORD low, WORD high) {
    return static_cast<WPARAM>(low) | (static_cast<WPARAM>(high) << 16);
}

// Window messages.
constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_ENABLE = 0x000A;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_GETTEXT = 0x000D;
constexpr UINT WM_GETTEXTLENGTH = 0x000E;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_ICONERASEBKGND = 0x0027;
constexpr UINT WM_QUERYDRAGICON = 0x0037;
constexpr UINT WM_SETICON = 0x0080;
constexpr UINT WM_NCDESTROY = 0x0082;  // the last message a window gets
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_SYSCOMMAND = 0x0112;

// Button messages, notifications and styles.
constexpr UINT BM_GETCHECK = 0x00F0;
constexpr UINT BM_SETCHECK = 0x00F1;
constexpr UINT BN_CLICKED = 0;
constexpr WPARAM BST_UNCHECKED = 0;
constexpr WPARAM BST_CHECKED = 1;
constexpr DWORD BS_PUSHBUTTON = 0x0;
constexpr DWORD BS_DEFPUSHBUTTON = 0x1;
constexpr DWORD BS_AUTOCHECKBOX = 0x3;
constexpr DWORD BS_GROUPBOX = 0x7;
constexpr DWORD BS_TYPEMASK = 0xF;

// Edit messages and styles.
constexpr UINT EM_SETPASSWORDCHAR = 0x00CC;
constexpr UINT EM_GETPASSWORDCHAR = 0x00D2;
constexpr DWORD ES_LEFT = 0x0000;
constexpr DWORD ES_PASSWORD = 0x0020;
constexpr DWORD ES_AUTOHSCROLL = 0x0080;
constexpr DWORD ES_READONLY = 0x0800;

// Static styles.
constexpr DWORD SS_LEFT = 0x0000;
constexpr DWORD SS_ICON = 0x0003;
constexpr DWORD SS_NOPREFIX = 0x0080;

// List box messages, notifications and styles.
constexpr UINT LB_INSERTSTRING = 0x0181;
constexpr UINT LB_RESETCONTENT = 0x0184;
constexpr UINT LB_SETCURSEL = 0x0186;
constexpr UINT LB_GETCURSEL = 0x0188;
constexpr UINT LB_GETTEXT = 0x0189;
constexpr UINT LB_GETTEXTLEN = 0x018A;
constexpr UINT LB_GETCOUNT = 0x018B;
constexpr LRESULT LB_ERR = -1;
constexpr UINT LBN_SELCHANGE = 1;
constexpr UINT LBN_DBLCLK = 2;
constexpr DWORD LBS_NOTIFY = 0x0001;
constexpr DWORD LBS_SORT = 0x0002;
constexpr DWORD LBS_NOINTEGRALHEIGHT = 0x0100;

// Window styles.
constexpr DWORD WS_POPUP = 0x80000000u;
constexpr DWORD WS_CHILD = 0x40000000u;
constexpr DWORD WS_MINIMIZE = 0x20000000u;
constexpr DWORD WS_VISIBLE = 0x10000000u;
constexpr DWORD WS_DISABLED = 0x08000000u;
constexpr DWORD WS_CAPTION = 0x00C00000u;
constexpr DWORD WS_BORDER = 0x00800000u;
constexpr DWORD WS_VSCROLL = 0x00200000u;
constexpr DWORD WS_SYSMENU = 0x00080000u;
constexpr DWORD WS_THICKFRAME = 0x00040000u;
constexpr DWORD WS_GROUP = 0x00020000u;
constexpr DWORD WS_TABSTOP = 0x00010000u;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000u;  // same bit as WS_GROUP, on top-level windows
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000u;  // same bit as WS_TABSTOP, on top-level windows
constexpr DWORD WS_EX_APPWINDOW = 0x00040000u;
constexpr DWORD DS_SETFONT = 0x40;
constexpr DWORD DS_MODALFRAME = 0x80;
constexpr DWORD DS_FIXEDSYS = 0x0008;
constexpr DWORD DS_ABSALIGN = 0x0001;     // the template position is on the screen
constexpr DWORD DS_CENTER = 0x0800;       // centred on the work area
constexpr DWORD DS_CENTERMOUSE = 0x1000;  // centred on the pointer

// Dialog end codes and message-box types and answers.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;
constexpr UINT MB_OK = 0x0;
constexpr UINT MB_YESNO = 0x4;
constexpr UINT MB_TYPEMASK = 0xF;

// System commands.
constexpr UINT SC_SIZE = 0xF000;
constexpr UINT SC_MOVE = 0xF010;
constexpr UINT SC_MINIMIZE = 0xF020;
constexpr UINT SC_MAXIMIZE = 0xF030;
constexpr UINT SC_CLOSE = 0xF060;
constexpr UINT SC_RESTORE = 0xF120;

// Menus.
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_SEPARATOR = 0x0800;

// ShowWindow commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_RESTORE = 9;

// GetWindowLongW indexes.
constexpr int GWL_STYLE = -16;
constexpr int GWL_EXSTYLE = -20;

// Icons and metrics.
constexpr WPARAM ICON_SMALL = 0;
constexpr WPARAM ICON_BIG = 1;
constexpr int SM_CXICON = 11;
constexpr int SM_CYICON = 12;

}  // namespace win
