#include "win/gtk/control_factory.h"

#include "win/gtk/button_views.h"
#include "win/gtk/edit_view.h"
#include "win/gtk/ip_address_view.h"
#include "win/gtk/list_box_view.h"
#include "win/gtk/static_view.h"

namespace win::gtk {
namespace {

constexpr DWORD kStaticTypeMask = 0x1F;  // the low style bits that say what a static shows

}  // namespace

std::unique_ptr<ControlView> CreateControlView(HWND handle, const Window& model) {
    switch (model.Class()) {
        case WindowClass::Button:
            switch (model.Kind()) {
                case ButtonKind::AutoCheckBox:
                    return std::make_unique<CheckBoxView>(handle, model);
                case ButtonKind::GroupBox:
                    return std::make_unique<GroupBoxView>(handle, model);
                case ButtonKind::Push:
                case ButtonKind::DefaultPush:
                    return std::make_unique<PushButtonView>(handle, model);
            }
            return nullptr;
        case WindowClass::Edit:
            return std::make_unique<EditView>(handle, model);
        case WindowClass::Static:
            if ((model.Style() & kStaticTypeMask) == SS_ICON) {
                return std::make_unique<StaticIconView>(handle, model);
            }
            return std::make_unique<StaticTextView>(handle, model);
        case WindowClass::ListBox:
            return std::make_unique<ListBoxView>(handle, model);
        case WindowClass::IpAddress:
            return std::make_unique<IpAddressView>(handle, model);
        case WindowClass::Dialog:
            return nullptr;
    }
    return nullptr;
}

}  // namespace win::gtk
