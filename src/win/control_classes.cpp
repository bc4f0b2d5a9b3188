#include "win/detail/control_procedures.h"

namespace win::detail {

WindowProcedure ProcedureOf(WindowClass windowClass) {
    switch (windowClass) {
        case WindowClass::Button:
            return ButtonProcedure;
        case WindowClass::Edit:
            return EditProcedure;
        case WindowClass::ListBox:
            return ListBoxProcedure;
        case WindowClass::IpAddress:
            return IpAddressProcedure;
        case WindowClass::Dialog:
            return DefDlgProcW;
        case WindowClass::Static:
            break;
    }
    return DefWindowProcW;
}

}  // namespace win::detail
