// Reads of the model for tests: every control's text, state, lines, selection and the focus.
// UI thread only. A control that does not exist reads as empty, disabled, unchecked.
#pragma once

#include <string>
#include <vector>

#include "win/types.h"

namespace win::headless {

// The newest visible top-level window with this caption, or null.
HWND FindShownWindow(const std::u16string& caption);
// Open message boxes, oldest first.
std::vector<HWND> OpenMessageBoxes();

std::u16string Caption(HWND window);
std::u16string BoxText(HWND box);  // the message of a box

// What the control shows (an address control: blank fields empty).
std::u16string ShownText(HWND dialog, int id);
// What the program reads from it (GetWindowText: an address control gives blank fields as 0).
std::u16string ControlText(HWND dialog, int id);
bool IsEnabled(HWND dialog, int id);
bool IsVisible(HWND dialog, int id);
int CheckState(HWND dialog, int id);
char16_t PasswordChar(HWND dialog, int id);
std::vector<std::u16string> ListLines(HWND dialog, int id);
int ListSelection(HWND dialog, int id);  // -1 when none
// The id of the control with the dialog's focus; 0 when no control has it.
int FocusedId(HWND dialog);

}  // namespace win::headless
