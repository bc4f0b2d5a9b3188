#include "win/headless/probe.h"

#include "win/window.h"
#include "win/window_api.h"

namespace win::headless {
namespace {

const Window* ControlOf(HWND dialog, int id) {
    return FindWindow(GetDlgItem(dialog, id));
}

}  // namespace

HWND FindShownWindow(const std::u16string& caption) {
    const std::vector<HWND> topLevel = TopLevelWindows();
    for (auto it = topLevel.rbegin(); it != topLevel.rend(); ++it) {
        const Window* window = FindWindow(*it);
        if (window != nullptr && window->Visible() && window->Text() == caption) {
            return *it;
        }
    }
    return nullptr;
}

std::vector<HWND> OpenMessageBoxes() {
    std::vector<HWND> boxes;
    for (HWND handle : TopLevelWindows()) {
        const Window* window = FindWindow(handle);
        if (window != nullptr && window->IsMessageBox() && window->Visible()) {
            boxes.push_back(handle);
        }
    }
    return boxes;
}

std::u16string Caption(HWND window) {
    const Window* state = FindWindow(window);
    return state != nullptr ? state->Text() : std::u16string();
}

std::u16string BoxText(HWND box) {
    const Window* state = FindWindow(box);
    if (state == nullptr) {
        return {};
    }
    for (HWND child : state->Children()) {
        const Window* control = FindWindow(child);
        if (control != nullptr && control->Class() == WindowClass::Static) {
            return control->Text();
        }
    }
    return {};
}

std::u16string ShownText(HWND dialog, int id) {
    const Window* control = ControlOf(dialog, id);
    return control != nullptr ? control->Text() : std::u16string();
}

std::u16string ControlText(HWND dialog, int id) {
    return GetWindowTextString(GetDlgItem(dialog, id));
}

bool IsEnabled(HWND dialog, int id) {
    const Window* control = ControlOf(dialog, id);
    return control != nullptr && control->Enabled();
}

bool IsVisible(HWND dialog, int id) {
    const Window* control = ControlOf(dialog, id);
    return control != nullptr && control->Visible();
}

int CheckState(HWND dialog, int id) {
    const Window* control = ControlOf(dialog, id);
    return control != nullptr ? control->Check() : 0;
}

char16_t PasswordChar(HWND dialog, int id) {
    const Window* control = ControlOf(dialog, id);
    return control != nullptr ? control->PasswordChar() : 0;
}

std::vector<std::u16string> ListLines(HWND dialog, int id) {
    const Window* control = ControlOf(dialog, id);
    return control != nullptr ? control->Lines() : std::vector<std::u16string>{};
}

int ListSelection(HWND dialog, int id) {
    const Window* control = ControlOf(dialog, id);
    return control != nullptr ? control->CurrentSelection() : -1;
}

int FocusedId(HWND dialog) {
    const Window* window = FindWindow(dialog);
    const Window* focused = window != nullptr ? FindWindow(window->Focus()) : nullptr;
    return focused != nullptr ? focused->Id() : 0;
}

}  // namespace win::headless
