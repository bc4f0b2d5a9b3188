// Window texts as GTK shows them. "&" marks the mnemonic of a button, label or menu item: the
// character after it is underlined and the "&" itself is not shown; "&&" shows one "&".
#pragma once

#include <string>

namespace win::gtk {

std::string Utf8(const std::u16string& text);

// Pango markup of a control text. With `prefix` false (SS_NOPREFIX) every "&" is plain text.
std::string LabelMarkup(const std::u16string& text, bool prefix);

// A menu item text split at its first "\t": the label in GTK's mnemonic syntax ("_" before the
// mnemonic, other "_" doubled) and the accelerator text shown on the right.
struct MenuItemText {
    std::string mnemonicLabel;
    std::string accelerator;
};
MenuItemText SplitMenuItemText(const std::u16string& text);

}  // namespace win::gtk
