#include "afx/testing/open_dialog.h"

#include "win/dialog.h"
#include "win/window_api.h"

namespace afx::testing {

OpenDialog::OpenDialog(CDialog& dialog) : dialog_(dialog) {
    if (dialog_.Create()) {
        window_ = dialog_.GetSafeHwnd();
    }
}

OpenDialog::~OpenDialog() {
    Close();
}

bool OpenDialog::IsOpen() const {
    return window_ != nullptr && win::IsWindow(window_);
}

std::optional<win::INT_PTR> OpenDialog::EndCode() const {
    return win::DialogEndCode(window_);
}

void OpenDialog::Close() {
    if (IsOpen()) {
        win::DestroyWindow(window_);
    }
}

}  // namespace afx::testing
