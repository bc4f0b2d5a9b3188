// A test dialog shown in the GTK renderer through the window model. Every message the model
// delivers to the dialog's procedure that a test checks is written to standard output, one line
// each; the program ends with the dialog's end code. It touches no network.
//
// Lines:
//   control id=<id> x=<px> y=<px> w=<px> h=<px>   where each control is, in client pixels
//   init | paint                                   WM_INITDIALOG, the first WM_PAINT
//   command id=<id> code=<notification>            WM_COMMAND
//   syscommand 0x<command>                         WM_SYSCOMMAND
//   text <id>=<utf-8> | check <id>=<0|1> | selection <id>=<index> | focus id=<id>
//                                                  the final state, when OK or Cancel arrives
//   shown <id>=<utf-8>                             what the address entry shows on the screen
//   box <answer>                                   the box that "按钮" opens, when it is closed
//   worker box <answer>                            with --worker-box: the box that a second
//                                                  thread shows without owner, when it is closed
//   end <code>                                     what the modal run returned
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include <gtk/gtk.h>

#include "platform/codepage.h"
#include "win/dialog.h"
#include "win/gtk/control_view.h"
#include "win/gtk/gtk_renderer.h"
#include "win/gtk/view_registry.h"
#include "win/menu.h"
#include "win/message_box.h"
#include "win/renderer.h"
#include "win/window.h"
#include "win/window_api.h"

namespace {

using namespace win;

constexpr int kProbeIcon = 128;
constexpr int kButtonId = 1100;
constexpr int kEditId = 1101;
constexpr int kCheckId = 1102;
constexpr int kListId = 1103;
constexpr int kAddressId = 1104;
constexpr int kPasswordId = 1105;

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

void Log(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

ControlTemplate Control(int id, WindowClass windowClass, DWORD style, int x, int y, int cx, int cy,
                        std::u16string text = {}) {
    ControlTemplate control;
    control.id = id;
    control.windowClass = windowClass;
    control.style = kChild | style;
    control.x = x;
    control.y = y;
    control.cx = cx;
    control.cy = cy;
    control.text = std::move(text);
    return control;
}

DialogTemplate ProbeTemplate() {
    DialogTemplate probe;
    probe.resourceId = 9100;
    probe.caption = u"Quorvel GUI 测试";
    probe.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS;
    probe.cx = 262;
    probe.cy = 150;
    probe.font.face = u"MS Shell Dlg";
    probe.font.pointSize = 9;
    using WC = WindowClass;
    // Template order is tab order: "确定" first, as in the tool's small dialogs.
    probe.controls = {
        Control(IDOK, WC::Button, BS_DEFPUSHBUTTON | WS_TABSTOP, 146, 128, 50, 14, u"确定"),
        Control(IDCANCEL, WC::Button, BS_PUSHBUTTON | WS_TABSTOP, 204, 128, 50, 14, u"取消"),
        Control(-1, WC::Static, SS_LEFT, 12, 18, 30, 8, u"名称"),
        Control(kEditId, WC::Edit, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 46, 15, 100, 14),
        Control(kButtonId, WC::Button, BS_PUSHBUTTON | WS_TABSTOP, 156, 15, 50, 14, u"按钮(&B)"),
        Control(-1, WC::Static, SS_LEFT, 12, 40, 30, 8, u"IP"),
        Control(kAddressId, WC::IpAddress, WS_TABSTOP, 46, 37, 100, 15),
        Control(kCheckId, WC::Button, BS_AUTOCHECKBOX | WS_TABSTOP, 156, 39, 60, 10, u"自动获取"),
        Control(-1, WC::Static, SS_LEFT, 12, 60, 30, 8, u"密码"),
        Control(kPasswordId, WC::Edit, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_PASSWORD, 46,
                57, 100, 14, u"secret"),
        Control(kListId, WC::ListBox, LBS_NOTIFY | WS_BORDER | WS_VSCROLL | WS_TABSTOP, 12, 78, 194,
                44),
        Control(-1, WC::Static, SS_LEFT | SS_NOPREFIX, 156, 58, 98, 16, u"KAVRO 搜索工具 & 中文"),
        Control(-1, WC::Static, SS_ICON, 220, 84, 20, 20),
        Control(-1, WC::Button, BS_GROUPBOX, 4, 2, 254, 124, u"测试控件"),
    };
    probe.controls[12].iconResource = kProbeIcon;
    return probe;
}

// A 32 x 32 icon: a blue disc with a white ring on a transparent ground.
IconImage ProbeIcon() {
    IconImage icon;
    icon.width = 32;
    icon.height = 32;
    icon.rgba.resize(32 * 32 * 4);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const int dx = 2 * x - 31;
            const int dy = 2 * y - 31;
            const int distance = dx * dx + dy * dy;
            std::uint8_t* pixel = &icon.rgba[static_cast<std::size_t>((y * 32 + x) * 4)];
            if (distance < 28 * 28) {
                const bool ring = distance > 20 * 20;
                pixel[0] = ring ? 255 : 30;
                pixel[1] = ring ? 255 : 90;
                pixel[2] = ring ? 255 : 200;
                pixel[3] = 255;
            }
        }
    }
    return icon;
}

std::string Utf8(const std::u16string& text) {
    return plat::WideToUtf8(text);
}

void LogLayout(HWND dialog, const DialogTemplate& probe) {
    Renderer* renderer = CurrentRenderer();
    for (const ControlTemplate& control : probe.controls) {
        if (control.id == -1) {
            continue;
        }
        const RECT pixels = renderer->DialogUnitsToPixels(
            dialog, RECT{control.x, control.y, control.x + control.cx, control.y + control.cy});
        Log("control id=" + std::to_string(control.id) + " x=" + std::to_string(pixels.left) +
            " y=" + std::to_string(pixels.top) +
            " w=" + std::to_string(pixels.right - pixels.left) +
            " h=" + std::to_string(pixels.bottom - pixels.top));
    }
}

void LogFinalState(HWND dialog) {
    for (int id : {kEditId, kAddressId, kPasswordId}) {
        Log("text " + std::to_string(id) + "=" + Utf8(GetWindowTextString(GetDlgItem(dialog, id))));
    }
    Log("check " + std::to_string(kCheckId) + "=" +
        std::to_string(SendMessageW(GetDlgItem(dialog, kCheckId), BM_GETCHECK, 0, 0)));
    Log("selection " + std::to_string(kListId) + "=" +
        std::to_string(SendMessageW(GetDlgItem(dialog, kListId), LB_GETCURSEL, 0, 0)));
    Log("focus id=" + std::to_string(GetDlgCtrlID(GetFocusOf(dialog))));
    if (gtk::ControlView* address = gtk::FindControlView(GetDlgItem(dialog, kAddressId))) {
        Log("shown " + std::to_string(kAddressId) + "=" +
            gtk_entry_get_text(GTK_ENTRY(address->FocusTarget())));
    }
}

LRESULT ProbeProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    static bool painted = false;
    switch (message) {
        case WM_INITDIALOG: {
            Log("init");
            LogLayout(dialog, ProbeTemplate());
            const HWND list = GetDlgItem(dialog, kListId);
            for (const char16_t* line :
                 {u"1 IP:198.51.100.10 -->( 序列号:A1 )", u"2 IP:198.51.100.11 -->( 序列号:B2 )",
                  u"3 IP:198.51.100.12 -->( 序列号:C3 )", u"4 IP:198.51.100.13 -->( 序列号:D4 )"}) {
                SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(-1),
                             reinterpret_cast<LPARAM>(line));
            }
            const HICON icon = LoadIconResource(kProbeIcon);
            SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
            SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
            const HMENU menu = GetSystemMenu(dialog, FALSE);
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            AppendMenuW(menu, MF_STRING, 0x10, u"关于 TOOL(&A)...");
            return TRUE;
        }
        case WM_PAINT:
            if (!painted) {
                painted = true;
                Log("paint");
            }
            break;
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            Log("command id=" + std::to_string(id) + " code=" + std::to_string(HIWORD(wParam)));
            if (id == kButtonId && HIWORD(wParam) == BN_CLICKED) {
                // A modal box from a handler: a nested loop inside GTK's "clicked".
                Log("box " + std::to_string(MessageBoxW(dialog, u"按钮被按下了", nullptr, MB_OK)));
                return TRUE;
            }
            if (id == IDOK || id == IDCANCEL) {
                LogFinalState(dialog);
                EndDialog(dialog, id);
                return TRUE;
            }
            return TRUE;
        }
        case WM_SYSCOMMAND: {
            char text[32];
            std::snprintf(text, sizeof text, "syscommand 0x%X", static_cast<unsigned>(wParam));
            Log(text);
            break;
        }
        default:
            break;
    }
    return DefDlgProcW(dialog, message, wParam, lParam);
}

}  // namespace

// A box that another thread shows while the UI thread idles in the dialog's loop: the call
// reaches the UI thread only through the renderer's Wake.
void ShowWorkerBox() {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const int answer = MessageBoxW(nullptr, u"来自工作线程的消息", u"线程消息", MB_OK);
    Log("worker box " + std::to_string(answer));
}

int main(int argc, char** argv) {
    std::unique_ptr<Renderer> renderer = win::gtk::CreateRenderer(argc, argv);
    if (renderer == nullptr) {
        return EXIT_FAILURE;
    }
    const bool workerBox = argc > 1 && std::string(argv[1]) == "--worker-box";
    SetRenderer(renderer.get());
    SetApplicationName(u"quorvel");
    RegisterIconResource(kProbeIcon, ProbeIcon());
    std::thread worker;
    if (workerBox) {
        worker = std::thread(ShowWorkerBox);
    }
    const INT_PTR code = DialogBoxIndirectParamW(ProbeTemplate(), nullptr, &ProbeProcedure);
    Log("end " + std::to_string(code));
    if (worker.joinable()) {
        worker.join();
    }
    SetRenderer(nullptr);
    return static_cast<int>(code);
}
