// The size of a message box: wide enough for its text, its buttons and its caption.
#include <gtest/gtest.h>

#include "win/detail/message_box_layout.h"

namespace win::detail {
namespace {

int BoxWidth(const std::u16string& text, const std::u16string& caption) {
    return MessageBoxTemplate(text, caption, MB_OK).cx;
}

// Dialog units: a wide (CJK) character of the caption font is about 8; beside it the title bar
// holds the window's icon and three buttons of about 14 each with their gaps (24 pixels at 7
// pixels per 4 units; a 140-pixel box showed its 4-character caption cut to one character).
constexpr int kWideChar = 8;
constexpr int kTitleBarButtons = 4 * 14;

TEST(MessageBoxLayout, TheBoxIsWideEnoughForItsCaptionBesideTheTitleBarButtons) {
    // Each caption of a result box, with the device's short text under it.
    for (const std::u16string caption : {u"修改失败", u"用戶名或密码错误", u"提示"}) {
        EXPECT_GE(BoxWidth(u"OK", caption),
                  static_cast<int>(caption.size()) * kWideChar + kTitleBarButtons)
            << "caption of " << caption.size() << " characters";
    }
}

TEST(MessageBoxLayout, ACaptionNarrowerThanTheTextLeavesTheBoxAsTheTextMakesIt) {
    const std::u16string text = u"IP已修改，请重启设备，设备将在一分钟后重新上线";
    EXPECT_EQ(BoxWidth(text, u"提示"), BoxWidth(text, u""));
    // The text and the button keep their places in a box that its caption widened.
    const DialogTemplate wide = MessageBoxTemplate(u"OK", u"用戶名或密码错误", MB_OK);
    const DialogTemplate narrow = MessageBoxTemplate(u"OK", u"", MB_OK);
    ASSERT_EQ(wide.controls.size(), narrow.controls.size());
    EXPECT_EQ(wide.controls[0].x, narrow.controls[0].x);
    EXPECT_EQ(wide.controls[1].x - narrow.controls[1].x, (wide.cx - narrow.cx) / 2)
        << "the button stays centred";
    EXPECT_EQ(wide.cy, narrow.cy);
}

}  // namespace
}  // namespace win::detail
