// Window texts as GTK shows them. "&" marks the mnemonic of a button, label or menu item: the
// character after it is underlined and the "&" itself is not shown; "&&" shows one "&".
#pragma once

#include <string>

namespace win::gtk {

std::string Utf8(const std::u16string& text);

// Pango markup of a control text. With `prefix` false (SS_NOPREFIX) every "&" is plain text.
std::string LabelMarkup(const std::u16string& text, bool prefix);

// A menu item text split at its first "\t": the label as Pango markup in GTK's mnemonic syntax
// (for gtk_label_set_markup_with_mnemonic) and the accelerator text shown on the right. The
// mnemonic is underlined by the markup too: GTK shows its own underline only while the menu is
// worked with the keyboard, and a menu opened with the mouse must show it as well.
struct MenuItemText {
    std::string mnemonicMarkup;
    std::string accelerator;
};
MenuItemText SplitMenuItemText(const std::u16string& text);

}  // namespace win::gtk
