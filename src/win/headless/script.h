// What the scripted operator does in one expected dialog or message box, step by step.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "win/input.h"
#include "win/types.h"

namespace win::headless {

class Script {
  public:
    // Focus the control, then the operator's edit of its whole text.
    Script& Type(int controlId, std::u16string text);
    Script& Click(int controlId);
    Script& Select(int listId, int line);
    Script& DoubleClick(int listId, int line);
    Script& Focus(int controlId);
    Script& Press(input::Key key);
    Script& CloseBox();
    Script& ChooseSystemMenuItem(UINT id);
    // A box: press its button with this id (IDOK, IDYES, IDNO).
    Script& Answer(int buttonId);
    // Test code, while the window is open (e.g. Session::PumpUntil, then checks).
    Script& Run(std::function<void(HWND window)> action);

    struct Action {
        std::string description;
        std::function<bool(HWND window)> perform;  // false: the operator could not do it
    };

    // How it is matched: message box or dialog, caption and (boxes) text, when given.
    bool forMessageBox = false;
    std::optional<std::u16string> caption;
    std::optional<std::u16string> text;
    std::deque<Action> actions;
    bool used = false;

    std::string Describe() const;

  private:
    Script& Add(std::string description, std::function<bool(HWND)> perform);
};

}  // namespace win::headless
