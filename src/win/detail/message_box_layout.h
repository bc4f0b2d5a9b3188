// The generated template of a message box.
#pragma once

#include <string>
#include <vector>

#include "win/dialog.h"

namespace win::detail {

struct MessageBoxButton {
    int id;
    const char16_t* text;
};

// MB_YESNO: "是" (IDYES), "否" (IDNO); anything else: "确定" (IDOK).
std::vector<MessageBoxButton> MessageBoxButtons(UINT type);

// A static text with the message, then the buttons in a row, the first the default one; wide
// enough for the text, the buttons and the caption in the title bar.
DialogTemplate MessageBoxTemplate(const std::u16string& text, const std::u16string& caption,
                                  UINT type);

}  // namespace win::detail
