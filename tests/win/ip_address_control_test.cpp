// The IPv4 address control's text rules, from code and from the operator.
#include "platform/codepage.h"
#include "win/headless/probe.h"
#include "win/input.h"
#include "win_test_support.h"

namespace win::testing {
namespace {

struct AddressCase {
    const char16_t* set;
    const char16_t* shown;  // what the control shows
    const char16_t* read;   // what GetWindowText gives
};

class AddressControlTest : public SessionTest {
  protected:
    void SetUp() override {
        dialog = CreateDialogIndirectParamW(TestDialog(), nullptr, nullptr);
        control = GetDlgItem(dialog, kAddressId);
    }
    HWND dialog = nullptr;
    HWND control = nullptr;
};

TEST_F(AddressControlTest, TextFromCode) {
    const AddressCase cases[] = {
        {u"192.168.1.10", u"192.168.1.10", u"192.168.1.10"},
        {u"0.0.0.0", u"0.0.0.0", u"0.0.0.0"},
        {u"255.255.255.255", u"255.255.255.255", u"255.255.255.255"},
        {u"010.001.0.9", u"10.1.0.9", u"10.1.0.9"},
        {u"", u"", u""},
        // Text it cannot read blanks it.
        {u"256.1.1.1", u"", u""},
        {u"1.2.3", u"", u""},
        {u"1.2.3.4.5", u"", u""},
        {u"1.2.3.x", u"", u""},
        {u" 1.2.3.4", u"", u""},
        {u"1..3.4", u"", u""},
        {u"1234.1.1.1", u"", u""},
    };
    for (const AddressCase& c : cases) {
        SetWindowTextW(control, u"9.9.9.9");
        SetWindowTextW(control, c.set);
        EXPECT_EQ(headless::ShownText(dialog, kAddressId), c.shown) << plat::WideToUtf8(c.set);
        EXPECT_EQ(GetWindowTextString(control), c.read) << plat::WideToUtf8(c.set);
        EXPECT_EQ(GetWindowTextLengthW(control), static_cast<int>(std::u16string(c.read).size()));
    }
}

TEST_F(AddressControlTest, TextFromTheOperatorKeepsWhatFitsAndReadsBlankFieldsAsZero) {
    const AddressCase cases[] = {
        {u"192.168.1.20", u"192.168.1.20", u"192.168.1.20"},
        {u"192.168.", u"192.168..", u"192.168.0.0"},
        {u"..3.", u"..3.", u"0.0.3.0"},
        {u"300.1.1.1", u"255.1.1.1", u"255.1.1.1"},
        {u"1a2.3.4.5.6", u"12.3.4.5", u"12.3.4.5"},
        {u"", u"", u""},
        {u"abc", u"", u""},
    };
    for (const AddressCase& c : cases) {
        ASSERT_TRUE(input::SetText(control, c.set));
        EXPECT_EQ(headless::ShownText(dialog, kAddressId), c.shown) << plat::WideToUtf8(c.set);
        EXPECT_EQ(GetWindowTextString(control), c.read) << plat::WideToUtf8(c.set);
    }
}

}  // namespace
}  // namespace win::testing
