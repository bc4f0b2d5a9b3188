#include "win/detail/message_box_layout.h"

#include <algorithm>

namespace win::detail {
namespace {

// Dialog units: an average Latin character is 4 wide, a line 8 high; wide (CJK) characters
// take about twice the width.
constexpr int kNarrowCharWidth = 4;
constexpr int kWideCharWidth = 8;
constexpr int kLineHeight = 8;
constexpr int kMargin = 10;
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;
constexpr int kButtonGap = 6;
constexpr int kMinTextWidth = 60;
// Beside its caption a title bar holds the window's icon and up to three buttons (a window
// manager may show minimise and maximise, greyed or not, even where the box has none).
constexpr int kTitleBarExtras = 60;
constexpr char16_t kFirstWideChar = 0x2E80;

constexpr DWORD kBoxStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
constexpr DWORD kTextStyle = WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP;

struct TextSize {
    int width = 0;
    int lines = 1;
};

TextSize Measure(const std::u16string& text) {
    TextSize size;
    int lineWidth = 0;
    for (char16_t ch : text) {
        if (ch == u'\n') {
            ++size.lines;
            lineWidth = 0;
            continue;
        }
        lineWidth += ch >= kFirstWideChar ? kWideCharWidth : kNarrowCharWidth;
        size.width = std::max(size.width, lineWidth);
    }
    return size;
}

}  // namespace

std::vector<MessageBoxButton> MessageBoxButtons(UINT type) {
    if ((type & MB_TYPEMASK) == MB_YESNO) {
        return {{IDYES, u"是"}, {IDNO, u"否"}};
    }
    return {{IDOK, u"确定"}};
}

DialogTemplate MessageBoxTemplate(const std::u16string& text, const std::u16string& caption,
                                  UINT type) {
    const std::vector<MessageBoxButton> buttons = MessageBoxButtons(type);
    const TextSize textSize = Measure(text);
    const int buttonCount = static_cast<int>(buttons.size());
    const int buttonsWidth = buttonCount * kButtonWidth + (buttonCount - 1) * kButtonGap;
    const int textWidth = std::max(textSize.width, kMinTextWidth);
    // As on Windows, the box is wide enough for its caption too.
    const int captionWidth = Measure(caption).width + kTitleBarExtras;
    const int width = std::max(std::max(textWidth, buttonsWidth) + 2 * kMargin, captionWidth);
    const int textHeight = textSize.lines * kLineHeight;
    const int buttonsTop = kMargin + textHeight + kMargin;

    DialogTemplate box;
    box.caption = caption;
    box.style = kBoxStyle;
    box.cx = width;
    box.cy = buttonsTop + kButtonHeight + kMargin / 2;
    box.font = DialogFont{u"MS Shell Dlg", 9, 0, false, 1};
    box.controls.push_back(ControlTemplate{-1, WindowClass::Static, kTextStyle, 0, kMargin, kMargin,
                                           textWidth, textHeight, text, 0});
    int left = (width - buttonsWidth) / 2;
    bool first = true;
    for (const MessageBoxButton& button : buttons) {
        const DWORD kind = first ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        box.controls.push_back(ControlTemplate{button.id, WindowClass::Button, kButtonStyle | kind,
                                               0, left, buttonsTop, kButtonWidth, kButtonHeight,
                                               button.text, 0});
        left += kButtonWidth + kButtonGap;
        first = false;
    }
    return box;
}

}  // namespace win::detail
