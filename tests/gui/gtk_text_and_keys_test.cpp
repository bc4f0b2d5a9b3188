// The renderer's display-free rules: dialog-unit arithmetic, "&" texts, key routing and what an
// address entry accepts.
#include <gtest/gtest.h>

#include <cstdlib>

#include "win/gtk/dialog_units.h"
#include "win/gtk/gtk_renderer.h"
#include "win/gtk/ip_address_view.h"
#include "win/gtk/key_routing.h"
#include "win/gtk/label_text.h"

namespace win::gtk {
namespace {

TEST(DialogUnits, MulDivRoundsHalfAwayFromZero) {
    struct Case {
        int number, numerator, denominator, expected;
    };
    const Case cases[] = {
        {292, 15, 8, 548},                  // 547.5 rounds up
        {580, 7, 4, 1015}, {3, 7, 4, 5},    // 5.25
        {1, 7, 4, 2},                       // 1.75
        {-3, 7, 4, -5},    {-1, 1, 2, -1},  // -0.5 rounds away from zero
        {5, 3, -2, -8},                     // -7.5
        {10, 3, 0, -1},                     // no denominator
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MulDiv(c.number, c.numerator, c.denominator), c.expected)
            << c.number << " * " << c.numerator << " / " << c.denominator;
    }
}

TEST(DialogUnits, BaseXIsTheRoundedHalfOfTheAlphabetWidthOver26) {
    EXPECT_EQ(BaseUnitsFromMeasurement(341, 15).x, 7);  // 341 / 26 = 13 -> (13 + 1) / 2
    EXPECT_EQ(BaseUnitsFromMeasurement(311, 15).x, 6);  // 11 -> 6
    EXPECT_EQ(BaseUnitsFromMeasurement(337, 15).x, 6);  // 12 -> 6: not 337 / 52 rounded (6.48)
    EXPECT_EQ(BaseUnitsFromMeasurement(341, 15).y, 15);
}

TEST(DialogUnits, EachEdgeIsConvertedOnItsOwn) {
    // The search button of the main window: 523, 256, 50 x 24 units.
    const RECT pixels = MapDialogRect(RECT{523, 256, 573, 280}, BaseUnits{7, 15});
    EXPECT_EQ(pixels.left, 915);  // 915.25
    EXPECT_EQ(pixels.top, 480);
    EXPECT_EQ(pixels.right, 1003);  // 1002.75
    EXPECT_EQ(pixels.bottom, 525);
}

TEST(LabelText, AmpersandMarksTheMnemonicUnlessNoPrefix) {
    struct Case {
        std::u16string text;
        bool prefix;
        std::string markup;
    };
    const Case cases[] = {
        {u"还原(&R)", true, "还原(<u>R</u>)"},
        {u"Save && Exit", true, "Save &amp; Exit"},
        {u"&A&B", true, "<u>A</u>B"},  // only the first mnemonic is underlined
        {u"trailing&", true, "trailing"},
        {u"KAVRO 搜索工具 & <1.0>", false, "KAVRO 搜索工具 &amp; &lt;1.0&gt;"},
        {u"a&&b", false, "a&amp;&amp;b"},
        {u"", true, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LabelMarkup(c.text, c.prefix), c.markup) << Utf8(c.text);
    }
}

TEST(LabelText, MenuItemTextBecomesUnderlinedMnemonicMarkupAndAnAcceleratorText) {
    struct Case {
        std::u16string text;
        std::string markup;
        std::string accelerator;
    };
    const Case cases[] = {
        {u"关闭(&C)\tAlt+F4", "关闭(<u>_C</u>)", "Alt+F4"},
        {u"最小化(&N)", "最小化(<u>_N</u>)", ""},
        {u"关于 Quorvel(&A)...", "关于 Quorvel(<u>_A</u>)...", ""},
        {u"snake_case && more", "snake__case &amp; more", ""},
        {u"&A&B <x>", "<u>_A</u>B &lt;x&gt;", ""},  // only the first mnemonic
        {u"trailing&", "trailing", ""},
    };
    for (const Case& c : cases) {
        const MenuItemText text = SplitMenuItemText(c.text);
        EXPECT_EQ(text.mnemonicMarkup, c.markup) << Utf8(c.text);
        EXPECT_EQ(text.accelerator, c.accelerator) << Utf8(c.text);
    }
}

TEST(KeyRouting, DialogKeysGoToTheDialogManagerBeforeGtk) {
    using input::Key;
    const auto none = static_cast<GdkModifierType>(0);
    struct Case {
        guint keyval;
        GdkModifierType state;
        bool focusOnButton;
        std::optional<Key> key;  // nullopt: GTK handles it
        bool systemMenu;
    };
    const Case cases[] = {
        {GDK_KEY_Tab, none, false, Key::Tab, false},
        {GDK_KEY_Tab, GDK_SHIFT_MASK, false, Key::ShiftTab, false},
        {GDK_KEY_ISO_Left_Tab, GDK_SHIFT_MASK, false, Key::ShiftTab, false},
        {GDK_KEY_Return, none, false, Key::Enter, false},  // also on a list: never a double click
        {GDK_KEY_KP_Enter, none, false, Key::Enter, false},
        {GDK_KEY_Escape, none, false, Key::Escape, false},
        {GDK_KEY_F4, GDK_MOD1_MASK, false, Key::AltF4, false},
        {GDK_KEY_space, none, true, Key::Space, false},
        {GDK_KEY_space, GDK_MOD1_MASK, false, std::nullopt, true},
        // A Linux desktop's context-menu keys, where Alt+Space is the window manager's.
        {GDK_KEY_F10, GDK_SHIFT_MASK, false, std::nullopt, true},
        {GDK_KEY_Menu, none, false, std::nullopt, true},
        {GDK_KEY_Menu, GDK_SHIFT_MASK, true, std::nullopt, true},
        {GDK_KEY_F10, none, false, std::nullopt, false},
        {GDK_KEY_space, none, false, std::nullopt, false},  // typed into an edit
        {GDK_KEY_F4, none, false, std::nullopt, false},
        {GDK_KEY_a, none, false, std::nullopt, false},
        {GDK_KEY_Tab, GDK_CONTROL_MASK, false, std::nullopt, false},
    };
    for (const Case& c : cases) {
        const auto route = RouteKey(c.keyval, c.state, c.focusOnButton);
        SCOPED_TRACE(testing::Message() << "keyval " << c.keyval << " state " << c.state);
        if (c.systemMenu) {
            ASSERT_TRUE(route.has_value());
            EXPECT_EQ(route->target, KeyRoute::Target::SystemMenu);
        } else if (c.key) {
            ASSERT_TRUE(route.has_value());
            EXPECT_EQ(route->target, KeyRoute::Target::DialogManager);
            EXPECT_EQ(route->key, *c.key);
        } else {
            EXPECT_FALSE(route.has_value());
        }
    }
}

TEST(IpAddressInput, TakesDigitsAndAtMostThreeDots) {
    struct Case {
        std::string current, inserted, accepted;
    };
    const Case cases[] = {
        {"", "192.168.1.20", "192.168.1.20"},
        {"", "10.0.0.1.5", "10.0.0.15"},  // a fourth dot is dropped
        {"1.2.3", ".4", ".4"},
        {"1.2.3.", ".", ""},
        {"", "abc 1-2", "12"},
        {"", "１２", ""},  // full-width digits are no digits here
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AcceptedAddressInput(c.current, c.inserted), c.accepted)
            << c.current << " + " << c.inserted;
    }
}

// Exits 3 when the renderer refused to start without a display.
[[noreturn]] void StartWithoutDisplay() {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    int argc = 1;
    char name[] = "quorvel";
    char* args[] = {name, nullptr};
    char** argv = args;
    std::exit(CreateRenderer(argc, argv) == nullptr ? 3 : 0);
}

TEST(NoDisplayDeathTest, SaysSoOnStandardErrorAndGivesNoRenderer) {
    EXPECT_EXIT(StartWithoutDisplay(), testing::ExitedWithCode(3),
                "^quorvel: cannot open display\n$");
}

}  // namespace
}  // namespace win::gtk
