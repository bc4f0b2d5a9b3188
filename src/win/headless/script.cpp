#include "win/headless/script.h"

#include "platform/codepage.h"
#include "win/window_api.h"

namespace win::headless {
namespace {

std::string KeyName(input::Key key) {
    switch (key) {
        case input::Key::Enter:
            return "Enter";
        case input::Key::Escape:
            return "Esc";
        case input::Key::Tab:
            return "Tab";
        case input::Key::ShiftTab:
            return "Shift+Tab";
        case input::Key::AltF4:
            return "Alt+F4";
        case input::Key::Space:
            return "Space";
    }
    return "a key";
}

}  // namespace

Script& Script::Add(std::string description, std::function<bool(HWND)> perform) {
    actions.push_back(Action{std::move(description), std::move(perform)});
    return *this;
}

Script& Script::Type(int controlId, std::u16string value) {
    const std::string description =
        "type \"" + plat::WideToUtf8(value) + "\" into control " + std::to_string(controlId);
    return Add(description, [controlId, value](HWND window) {
        const HWND control = GetDlgItem(window, controlId);
        return control != nullptr && input::SetFocus(control) && input::SetText(control, value);
    });
}

Script& Script::Click(int controlId) {
    return Add("click control " + std::to_string(controlId), [controlId](HWND window) {
        const HWND control = GetDlgItem(window, controlId);
        return control != nullptr && input::Click(control);
    });
}

Script& Script::Select(int listId, int line) {
    return Add("select line " + std::to_string(line) + " of list " + std::to_string(listId),
               [listId, line](HWND window) {
                   const HWND list = GetDlgItem(window, listId);
                   return list != nullptr && input::SelectLine(list, line);
               });
}

Script& Script::DoubleClick(int listId, int line) {
    return Add("double-click line " + std::to_string(line) + " of list " + std::to_string(listId),
               [listId, line](HWND window) {
                   const HWND list = GetDlgItem(window, listId);
                   return list != nullptr && input::DoubleClickLine(list, line);
               });
}

Script& Script::Focus(int controlId) {
    return Add("focus control " + std::to_string(controlId), [controlId](HWND window) {
        const HWND control = GetDlgItem(window, controlId);
        return control != nullptr && input::SetFocus(control);
    });
}

Script& Script::Press(input::Key key) {
    return Add("press " + KeyName(key),
               [key](HWND window) { return input::PressKey(window, key); });
}

Script& Script::CloseBox() {
    return Add("close it with the close box", [](HWND window) { return input::CloseBox(window); });
}

Script& Script::ChooseSystemMenuItem(UINT id) {
    return Add("choose system menu item " + std::to_string(id),
               [id](HWND window) { return input::ChooseSystemMenuItem(window, id); });
}

Script& Script::Answer(int buttonId) {
    return Add("answer " + std::to_string(buttonId), [buttonId](HWND window) {
        const HWND button = GetDlgItem(window, buttonId);
        return button != nullptr && input::Click(button);
    });
}

Script& Script::Run(std::function<void(HWND)> action) {
    return Add("run the test's action", [action = std::move(action)](HWND window) {
        action(window);
        return true;
    });
}

std::string Script::Describe() const {
    std::string description = forMessageBox ? "message box" : "dialog";
    if (caption) {
        description += " \"" + plat::WideToUtf8(*caption) + "\"";
    }
    if (text) {
        description += " with text \"" + plat::WideToUtf8(*text) + "\"";
    }
    return description;
}

}  // namespace win::headless
