#include "win/detail/dialog_creation.h"

#include "win/detail/control_procedures.h"
#include "win/detail/ip_address_text.h"
#include "win/detail/window_ops.h"
#include "win/detail/window_registry.h"

namespace win::detail {
namespace {

constexpr char16_t kDefaultPasswordChar = u'\u25CF';
constexpr DWORD kStaticTypeMask = 0x1F;

RECT RectOf(int x, int y, int cx, int cy) {
    return RECT{x, y, x + cx, y + cy};
}

ButtonKind KindOf(DWORD style) {
    switch (style & BS_TYPEMASK) {
        case BS_DEFPUSHBUTTON:
            return ButtonKind::DefaultPush;
        case BS_AUTOCHECKBOX:
            return ButtonKind::AutoCheckBox;
        case BS_GROUPBOX:
            return ButtonKind::GroupBox;
        default:
            return ButtonKind::Push;
    }
}

void CreateControl(WindowState& dialog, const ControlTemplate& control) {
    WindowState& state = CreateWindowState();
    state.windowClass = control.windowClass;
    state.style = control.style;
    state.exStyle = control.exStyle;
    state.id = control.id;
    state.enabled = (control.style & WS_DISABLED) == 0;
    state.visible = (control.style & WS_VISIBLE) != 0;
    state.parent = dialog.handle;
    state.rectDialogUnits = RectOf(control.x, control.y, control.cx, control.cy);
    state.font = dialog.font;
    state.procedure = std::make_shared<const WindowProcedure>(ProcedureOf(control.windowClass));
    switch (control.windowClass) {
        case WindowClass::Button:
            state.buttonKind = KindOf(control.style);
            state.text = control.text;
            break;
        case WindowClass::Edit:
            state.passwordChar = (control.style & ES_PASSWORD) != 0 ? kDefaultPasswordChar : 0;
            state.text = control.text;
            break;
        case WindowClass::Static:
            if ((control.style & kStaticTypeMask) == SS_ICON) {
                state.staticIcon = LoadIconResource(control.iconResource);
            } else {
                state.text = control.text;
            }
            break;
        case WindowClass::IpAddress:
            state.addressFields = ParseAddressFromCode(control.text);
            state.text = AddressDisplayText(state.addressFields);
            break;
        case WindowClass::ListBox:
        case WindowClass::Dialog:
            break;
    }
    dialog.children.push_back(state.handle);
}

// As the dialog manager places a dialog from its template's style; a message box centres itself.
Placement PlacementOf(DWORD style, bool isMessageBox) {
    if (isMessageBox) {
        return Placement::CentredOverOwner;
    }
    if ((style & DS_CENTERMOUSE) != 0) {
        return Placement::CentredOnPointer;
    }
    if ((style & DS_CENTER) != 0) {
        return Placement::CentredOnWorkArea;
    }
    return (style & DS_ABSALIGN) != 0 ? Placement::ScreenPosition : Placement::TemplatePosition;
}

}  // namespace

HWND FirstTabStop(const WindowState& dialog) {
    for (HWND child : dialog.children) {
        const WindowState* control = Find(child);
        if (control != nullptr && (control->style & WS_TABSTOP) != 0 && control->visible &&
            control->enabled) {
            return child;
        }
    }
    return nullptr;
}

HWND CreateAndInitialise(const DialogTemplate& dialogTemplate, HWND owner,
                         WindowProcedure procedure, LPARAM initParam, DialogKind kind) {
    WindowState& dialog = CreateWindowState();
    dialog.windowClass = WindowClass::Dialog;
    dialog.style = dialogTemplate.style;
    dialog.exStyle = dialogTemplate.exStyle;
    dialog.text = dialogTemplate.caption;
    dialog.enabled = (dialogTemplate.style & WS_DISABLED) == 0;
    dialog.visible = false;
    const WindowState* ownerTop = TopLevelOf(owner);
    dialog.owner = ownerTop != nullptr ? ownerTop->handle : nullptr;
    dialog.rectDialogUnits =
        RectOf(dialogTemplate.x, dialogTemplate.y, dialogTemplate.cx, dialogTemplate.cy);
    dialog.font = dialogTemplate.font;
    dialog.isMessageBox = kind.isMessageBox;
    dialog.placement = PlacementOf(dialogTemplate.style, kind.isMessageBox);
    dialog.closeAllowed = kind.closeAllowed;
    dialog.procedure = std::make_shared<const WindowProcedure>(
        procedure ? std::move(procedure) : WindowProcedure(DefDlgProcW));
    for (const ControlTemplate& control : dialogTemplate.controls) {
        CreateControl(dialog, control);
    }
    const HWND handle = dialog.handle;
    AnnounceCreated(dialog);

    const LRESULT wantsDefaultFocus = SendMessageW(
        handle, WM_INITDIALOG, reinterpret_cast<WPARAM>(FirstTabStop(dialog)), initParam);
    WindowState* initialised = Find(handle);
    if (initialised == nullptr) {
        return nullptr;
    }
    if (wantsDefaultFocus != 0) {
        SetFocusControl(*initialised, FirstTabStop(*initialised));
    }
    return handle;
}

}  // namespace win::detail
