// The window state model: one object per window, owned by the window system and touched only
// on the UI thread. Renderers read it (and are told of every change through Renderer); they
// never change it except through the operator-input functions of win/input.h.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "win/types.h"

namespace win {

enum class WindowClass {
    Dialog,     // a top-level dialog built from a template (message boxes are dialogs too)
    Button,     // push button, default push button, automatic check box or group box
    Edit,       // single-line edit
    Static,     // static text or static icon
    ListBox,    // single-selection list box
    IpAddress,  // IPv4 address control (four fields, shown and taken as dotted text)
};

enum class ButtonKind { Push, DefaultPush, AutoCheckBox, GroupBox };

// Font of a dialog as its template gives it.
struct DialogFont {
    std::u16string face;  // e.g. u"MS Shell Dlg"
    int pointSize = 9;
    int weight = 0;
    bool italic = false;
    int charset = 1;
};

// Where a top-level window appears when it is first shown. The model has no screen coordinates:
// the renderer places the window by this rule, and keeps it within the screen's work area.
enum class Placement {
    TemplatePosition,   // the template position relative to the owner's client area (no owner:
                        // the screen's origin)
    ScreenPosition,     // DS_ABSALIGN: the template position on the screen
    CentredOnWorkArea,  // DS_CENTER: on the work area of the owner's screen
    CentredOnPointer,   // DS_CENTERMOUSE
    CentredOverOwner,   // over the owner while it is shown and not minimised, else as
                        // CentredOnWorkArea (message boxes, and CenterWindowOverOwner)
};

struct MenuItem {
    UINT id = 0;             // 0 for a separator
    std::u16string text;     // may hold "&" mnemonics and a "\t" accelerator text
    UINT flags = MF_STRING;  // MF_SEPARATOR, MF_GRAYED
};

// Read-only view of one window for renderers and tests.
class Window {
  public:
    virtual ~Window() = default;

    virtual HWND Handle() const = 0;
    virtual WindowClass Class() const = 0;
    virtual DWORD Style() const = 0;
    virtual DWORD ExStyle() const = 0;
    virtual int Id() const = 0;  // control id; -1 for none (0xFFFF in templates)
    virtual const std::u16string& Text() const = 0;  // caption, label, edit or address text
    virtual bool Enabled() const = 0;                // its own state, not its ancestors'
    virtual bool Visible() const = 0;
    virtual HWND Parent() const = 0;                 // controls: the dialog; top-level: null
    virtual HWND Owner() const = 0;                  // top-level: its owner window or null
    virtual std::vector<HWND> Children() const = 0;  // in creation order = tab order
    virtual RECT RectDialogUnits() const = 0;    // x, y, x + cx, y + cy as the template gives it
    virtual const DialogFont& Font() const = 0;  // of the dialog (controls: of their dialog)

    // Top-level windows.
    virtual HWND Focus() const = 0;              // the control that has the keyboard focus
    virtual bool Iconic() const = 0;             // minimised
    virtual HICON Icon(WPARAM which) const = 0;  // ICON_BIG / ICON_SMALL, null when none
    virtual bool HasSystemMenu() const = 0;
    virtual std::vector<MenuItem> SystemMenu() const = 0;
    virtual bool IsMessageBox() const = 0;
    virtual bool IsModalRunning() const = 0;  // inside its modal loop
    virtual Placement InitialPlacement() const = 0;

    // Buttons.
    virtual ButtonKind Kind() const = 0;
    virtual int Check() const = 0;  // 0 unchecked, 1 checked

    // Edits.
    virtual bool ReadOnly() const = 0;
    virtual char16_t PasswordChar() const = 0;  // 0: shown as typed

    // Statics: the icon of an SS_ICON static, null otherwise.
    virtual HICON StaticIcon() const = 0;

    // List boxes.
    virtual const std::vector<std::u16string>& Lines() const = 0;
    virtual int CurrentSelection() const = 0;  // -1 when none
};

// The window of a handle, or null when it does not exist (any more). UI thread only.
const Window* FindWindow(HWND window);

// All top-level windows in creation order. UI thread only.
std::vector<HWND> TopLevelWindows();

// Icons by resource id: RGBA pixels, row by row, top row first.
struct IconImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
};
void RegisterIconResource(int resourceId, IconImage image);
HICON LoadIconResource(int resourceId);   // null when not registered
const IconImage* IconPixels(HICON icon);  // null for an unknown handle

}  // namespace win
