// The state of one window, as the model keeps it (UI thread only).
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "win/paint.h"
#include "win/window.h"
#include "win/window_api.h"

namespace win::detail {

class WindowState final : public Window {
  public:
    HWND Handle() const override { return handle; }
    WindowClass Class() const override { return windowClass; }
    DWORD Style() const override { return style; }
    DWORD ExStyle() const override { return exStyle; }
    int Id() const override { return id; }
    const std::u16string& Text() const override { return text; }
    bool Enabled() const override { return enabled; }
    bool Visible() const override { return visible; }
    HWND Parent() const override { return parent; }
    HWND Owner() const override { return owner; }
    std::vector<HWND> Children() const override { return children; }
    RECT RectDialogUnits() const override { return rectDialogUnits; }
    const DialogFont& Font() const override { return font; }

    HWND Focus() const override { return focus; }
    bool Iconic() const override { return iconic; }
    HICON Icon(WPARAM which) const override { return which == ICON_BIG ? bigIcon : smallIcon; }
    bool HasSystemMenu() const override;
    std::vector<MenuItem> SystemMenu() const override;
    bool IsMessageBox() const override { return isMessageBox; }
    bool IsModalRunning() const override { return modalDepth > 0; }
    Placement InitialPlacement() const override { return placement; }

    ButtonKind Kind() const override { return buttonKind; }
    int Check() const override { return check; }

    bool ReadOnly() const override { return (style & ES_READONLY) != 0; }
    char16_t PasswordChar() const override { return passwordChar; }

    HICON StaticIcon() const override { return staticIcon; }

    const std::vector<std::u16string>& Lines() const override { return lines; }
    int CurrentSelection() const override { return selection; }

    bool IsTopLevel() const { return parent == nullptr; }

    HWND handle = nullptr;
    WindowClass windowClass = WindowClass::Static;
    DWORD style = 0;
    DWORD exStyle = 0;
    int id = -1;
    std::u16string text;
    bool enabled = true;
    bool visible = false;
    HWND parent = nullptr;
    HWND owner = nullptr;
    std::vector<HWND> children;
    RECT rectDialogUnits{};
    DialogFont font;
    std::shared_ptr<const WindowProcedure> procedure;

    // Top-level windows.
    HWND focus = nullptr;
    bool iconic = false;
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
    std::vector<MenuItem> appendedMenuItems;
    bool isMessageBox = false;
    Placement placement = Placement::TemplatePosition;
    bool closeAllowed = true;        // false: the system menu's Close is greyed
    int modalDepth = 0;              // nested modal loops running for this window
    std::optional<INT_PTR> endCode;  // set by EndDialog
    int ownedHolds = 0;              // open owned windows that keep this one disabled
    bool enabledBeforeHolds = true;

    // Buttons.
    ButtonKind buttonKind = ButtonKind::Push;
    int check = 0;

    // Edits.
    char16_t passwordChar = 0;

    // Statics.
    HICON staticIcon = nullptr;

    // List boxes.
    std::vector<std::u16string> lines;
    int selection = -1;

    // IP-address controls: four fields, each blank or 0..255.
    std::array<std::optional<int>, 4> addressFields{};

    // Painting.
    std::vector<PaintOperation> lastPaint;

    bool announced = false;  // top-level: the renderer was told of its creation
    bool destroying = false;
};

}  // namespace win::detail
