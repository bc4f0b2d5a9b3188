// Tests: a dialog opened without its modal loop (created, initialised and shown as DoModal
// would), so a test can drive it step by step and pump; handlers that call DoModal or show
// boxes meanwhile run normally. The window is destroyed when this object goes, if still there.
#pragma once

#include <optional>

#include "afx/dialog.h"

namespace afx::testing {

class OpenDialog {
  public:
    explicit OpenDialog(CDialog& dialog);
    ~OpenDialog();
    OpenDialog(const OpenDialog&) = delete;
    OpenDialog& operator=(const OpenDialog&) = delete;

    win::HWND Handle() const { return window_; }
    bool IsOpen() const;
    // The end code once the dialog called EndDialog (OnOK, OnCancel, ...).
    std::optional<win::INT_PTR> EndCode() const;
    // Destroys the window now.
    void Close();

  private:
    CDialog& dialog_;
    win::HWND window_ = nullptr;
};

}  // namespace afx::testing
