// The network-configuration panel: rows filled from the selected device, the boxes, the search.
#include <tuple>

#include "main_dialog_fixture.h"

namespace ui_test {
namespace {

using win::headless::CheckState;
using win::headless::IsEnabled;
using win::headless::ShownText;

struct RowView {
    std::u16string name, ip, mask, gateway;
    bool enabled;  // the address controls
    int check;
    bool operator==(const RowView&) const = default;
};

std::ostream& operator<<(std::ostream& os, const RowView& r) {
    return os << plat::WideToUtf8(r.name) << "|" << plat::WideToUtf8(r.ip) << "|"
              << plat::WideToUtf8(r.mask) << "|" << plat::WideToUtf8(r.gateway) << "|"
              << (r.enabled ? "enabled" : "disabled") << "|" << r.check;
}

const Nic kA{"eth0", "192.168.1.20", "255.255.255.0", "192.168.1.1", {1, 2, 3, 4}, {0, 0, 0, 0}};
const Nic kB{"eth1", "10.0.0.2", "255.0.0.0", "10.0.0.1", {}, {0, 0, 0, 1}};
const Nic kC{"wlan0", "172.16.0.9", "255.255.0.0", "172.16.0.1", {}, {1, 0, 0, 0}};
const Nic kD{"eth3", "10.9.9.9", "255.255.255.0", "10.9.9.1", {}, {0, 0, 0, 0}};
const Nic kUnset{"eth9", "0.0.0.0", "0.0.0.0", "0.0.0.0", {}, {0, 0, 0, 0}};

class PanelTest : public MainDialogFixture {
  protected:
    RowView Row(int r) const {
        const int base = IDC_NAME1 + IDC_ROW_STRIDE * r;
        const bool enabled = IsEnabled(hwnd, base + 1);
        EXPECT_EQ(IsEnabled(hwnd, base + 2), enabled) << "row " << r << ": mask and address apart";
        EXPECT_EQ(IsEnabled(hwnd, base + 3), enabled)
            << "row " << r << ": gateway and address apart";
        return {ShownText(hwnd, base),
                ShownText(hwnd, base + 1),
                ShownText(hwnd, base + 2),
                ShownText(hwnd, base + 3),
                enabled,
                CheckState(hwnd, base + 4)};
    }
    void Add(const std::string& serial, std::vector<Nic> nics, std::string dns1 = "8.8.8.8") {
        DeviceReply d;
        d.serial = serial;
        d.nics = std::move(nics);
        d.dns1 = std::move(dns1);
        Deliver(d.Encode(kSession));
    }
    static RowView Manual(const Nic& n) {
        return {
            U(n.name.c_str()), U(n.ip.c_str()), U(n.mask.c_str()), U(n.gateway.c_str()), true, 0};
    }
    static RowView Automatic(const Nic& n) {
        RowView r = Manual(n);
        r.enabled = false;
        r.check = 1;
        return r;
    }
    const RowView kSearched{u"", u"", u"", u"", false, 0};
};

TEST_F(PanelTest, AfterStartTheRowsAreInTheSearchedState) {
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(Row(r), kSearched) << "row " << r;
    }
    EXPECT_TRUE(IsEnabled(hwnd, IDC_DNS1));
    EXPECT_EQ(CheckState(hwnd, IDC_DNS_AUTO), 0);
}

TEST_F(PanelTest, SelectingFillsTheRowsAndLeavesRowsPastTheDevicesEntriesAlone) {
    Add("THREE", {kA, kB, kC}, "1.1.1.1");
    Add("TWO", {kD, kA}, "9.9.9.9");
    Select(0);
    EXPECT_EQ(Row(0), Manual(kA));
    EXPECT_EQ(Row(1), Automatic(kB)) << "flag bytes 00 00 00 01";
    EXPECT_EQ(Row(2), Automatic(kC)) << "flag bytes 01 00 00 00";
    EXPECT_EQ(ShownText(hwnd, IDC_DNS1), u"1.1.1.1");
    EXPECT_EQ(ShownText(hwnd, IDC_DNS2), u"8.8.4.4");

    Select(1);
    EXPECT_EQ(Row(0), Manual(kD));
    EXPECT_EQ(Row(1), Manual(kA));
    EXPECT_EQ(Row(2), Automatic(kC)) << "the third row keeps the earlier device's texts and state";
    EXPECT_EQ(ShownText(hwnd, IDC_DNS1), u"9.9.9.9");
}

TEST_F(PanelTest, ADeviceWithoutEntriesChangesOnlyTheDnsRow) {
    Add("THREE", {kA, kB, kC});
    Add("NONE", {}, "4.4.4.4");
    Select(0);
    Select(1);
    EXPECT_EQ(Row(0), Manual(kA));
    EXPECT_EQ(Row(1), Automatic(kB));
    EXPECT_EQ(ShownText(hwnd, IDC_DNS1), u"4.4.4.4");
}

TEST_F(PanelTest, UnsetAddressesAreSkippedOnlyForFourOrMoreEntries) {
    Add("FOUR", {kUnset, kA, kB, kC});
    Add("THREE", {kA, kUnset, kB});
    Select(0);
    EXPECT_EQ(Row(0), Manual(kA));
    EXPECT_EQ(Row(1), Automatic(kB));
    EXPECT_EQ(Row(2), Automatic(kC));
    Select(1);
    EXPECT_EQ(Row(0), Manual(kA));
    EXPECT_EQ(Row(1), Manual(kUnset));
    EXPECT_EQ(Row(2), Automatic(kB));
}

TEST_F(PanelTest, OnlyTheExactUnsetTextIsSkippedAndLaterEntriesAreIgnored) {
    Nic padded = kUnset;
    padded.ip = "0.0.0.0 ";
    Add("FIVE", {kA, padded, kB, kC, kD});
    Select(0);
    EXPECT_EQ(Row(0), Manual(kA));
    EXPECT_EQ(Row(1).name, u"eth9") << "\"0.0.0.0 \" is not skipped";
    EXPECT_EQ(Row(2), Automatic(kB));
}

struct FlagCase {
    std::uint8_t bytes[4];
    bool automatic;
};

class FlagTest : public PanelTest, public ::testing::WithParamInterface<FlagCase> {};

TEST_P(FlagTest, TheFlagIsALittleEndianSignedNumberAboveZero) {
    Nic n = kA;
    std::copy(std::begin(GetParam().bytes), std::end(GetParam().bytes), n.flag);
    Add("F", {n});
    Select(0);
    EXPECT_EQ(Row(0), GetParam().automatic ? Automatic(kA) : Manual(kA));
}

INSTANTIATE_TEST_SUITE_P(Bytes, FlagTest,
                         ::testing::Values(FlagCase{{0, 0, 0, 1}, true},
                                           FlagCase{{1, 0, 0, 0}, true},
                                           FlagCase{{0, 0, 0, 0}, false},
                                           FlagCase{{0, 0, 0, 0x80}, false},
                                           FlagCase{{0xFF, 0xFF, 0xFF, 0xFF}, false}));

TEST_F(PanelTest, WhatTheOperatorTypedIsReplacedBySelecting) {
    Add("A", {kA});
    Select(0);
    ASSERT_TRUE(win::input::SetText(Item(IDC_IP1), u"10.1.1.1"));
    EXPECT_EQ(ShownText(hwnd, IDC_IP1), u"10.1.1.1");
    Select(0);  // the same line again from the keyboard: no change of selection
    EXPECT_EQ(ShownText(hwnd, IDC_IP1), u"10.1.1.1");
    ASSERT_TRUE(win::input::ClickLine(Item(IDC_LIST), 0));  // a click on it: filled again
    EXPECT_EQ(ShownText(hwnd, IDC_IP1), u"192.168.1.20");
    ASSERT_TRUE(win::input::SetText(Item(IDC_IP1), u"10.1.1.1"));
    Add("B", {kB});
    Select(1);
    Select(0);
    EXPECT_EQ(ShownText(hwnd, IDC_IP1), u"192.168.1.20");
}

TEST_F(PanelTest, TheRowBoxesLockAndUnlockTheAddresses) {
    Click(IDC_AUTO1);
    EXPECT_EQ(Row(0), (RowView{u"", u"", u"", u"", false, 1})) << "searched -> automatic";
    Click(IDC_AUTO1);
    EXPECT_EQ(Row(0), (RowView{u"", u"", u"", u"", true, 0})) << "automatic -> manual";
    Click(IDC_AUTO1);
    EXPECT_EQ(Row(0), (RowView{u"", u"", u"", u"", false, 1})) << "manual -> automatic";

    Add("A", {kA, kB});
    Select(0);
    Click(IDC_AUTO1 + IDC_ROW_STRIDE);
    EXPECT_EQ(Row(1), Manual(kB)) << "unchecking keeps the addresses in enabled controls";
    EXPECT_EQ(Row(2), kSearched);
}

TEST_F(PanelTest, TheDnsBoxLocksBothDnsFieldsAndSelectionNeverTouchesIt) {
    Click(IDC_DNS_AUTO);
    EXPECT_EQ(CheckState(hwnd, IDC_DNS_AUTO), 1);
    EXPECT_FALSE(IsEnabled(hwnd, IDC_DNS1));
    EXPECT_FALSE(IsEnabled(hwnd, IDC_DNS2));

    Add("A", {kA});
    Select(0);
    Click(IDC_SEARCH);
    EXPECT_EQ(CheckState(hwnd, IDC_DNS_AUTO), 1);
    EXPECT_FALSE(IsEnabled(hwnd, IDC_DNS1));
    EXPECT_EQ(ShownText(hwnd, IDC_DNS1), u"");

    Click(IDC_DNS_AUTO);
    EXPECT_EQ(CheckState(hwnd, IDC_DNS_AUTO), 0);
    EXPECT_TRUE(IsEnabled(hwnd, IDC_DNS1));
    EXPECT_TRUE(IsEnabled(hwnd, IDC_DNS2));
}

TEST_F(PanelTest, ASearchEmptiesAndLocksEveryRowAndClearsTheFlag) {
    Add("A", {kA, kB, kC});
    Select(0);
    dialog->m_bResultShown = 1;
    Click(IDC_SEARCH);
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(Row(r), kSearched) << "row " << r;
        EXPECT_TRUE(dialog->m_strName[r].IsEmpty());
    }
    EXPECT_EQ(ShownText(hwnd, IDC_DNS1), u"");
    EXPECT_EQ(ShownText(hwnd, IDC_DNS2), u"");
    EXPECT_EQ(dialog->m_bResultShown.load(), 0);
}

TEST_F(PanelTest, RowOperationsIgnoreRowsOutsideThePanel) {
    const RowView before = Row(2);
    for (int row : {-1, 3}) {
        dialog->ResetNicRow(row, TRUE, TRUE);
        dialog->SetNicRowData(row, u"x", u"1.2.3.4", u"", u"", 1);
    }
    EXPECT_EQ(Row(2), before);
    for (int r = 0; r < 3; ++r) {
        EXPECT_TRUE(dialog->m_strName[r].IsEmpty());
    }
}

struct ResetCase {
    const char* name;
    BOOL clear;
    BOOL enable;
    bool emptied;
    bool enabled;
    int checkAfterManual;     // the box of a row that was unchecked
    int checkAfterAutomatic;  // the box of a row that was checked
};

void PrintTo(const ResetCase& c, std::ostream* os) {
    *os << c.name;
}

class ResetTest : public PanelTest, public ::testing::WithParamInterface<ResetCase> {};

TEST_P(ResetTest, ClearsLocksAndSetsTheBoxAsAsked) {
    const ResetCase& c = GetParam();
    Add("A", {kA, kB});
    Select(0);  // row 0 manual (box unchecked), row 1 automatic (box checked)
    dialog->ResetNicRow(0, c.clear, c.enable);
    dialog->ResetNicRow(1, c.clear, c.enable);
    for (const auto& [row, nic, check] :
         {std::tuple{0, kA, c.checkAfterManual}, std::tuple{1, kB, c.checkAfterAutomatic}}) {
        RowView expected = c.emptied ? RowView{u"", u"", u"", u"", false, 0} : Manual(nic);
        expected.enabled = c.enabled;
        expected.check = check;
        EXPECT_EQ(Row(row), expected) << "row " << row;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Combinations, ResetTest,
    ::testing::Values(ResetCase{"KeepAndLock", FALSE, FALSE, false, false, 1, 1},
                      ResetCase{"KeepAndUnlock", FALSE, TRUE, false, true, 0, 1},
                      ResetCase{"ClearAndLock", TRUE, FALSE, true, false, 1, 1},
                      ResetCase{"ClearAndUnlock", TRUE, TRUE, true, true, 0, 0}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(PanelTest, SetNicRowDataSetsTheBoxAtOnceAndTheTextsAtTheNextExchange) {
    Add("A", {kA, kB});
    Select(0);
    const auto set = [&](int row, const Nic& n, int automatic) {
        dialog->SetNicRowData(row, CString(U(n.name.c_str())), CString(U(n.ip.c_str())),
                              CString(U(n.mask.c_str())), CString(U(n.gateway.c_str())), automatic);
    };
    set(0, kC, 1);
    set(1, kD, 0);
    EXPECT_EQ(Row(0), (RowView{u"", u"", u"", u"", false, 1})) << "automatic: emptied and locked";
    RowView unchecked = Automatic(kB);
    unchecked.check = 0;
    EXPECT_EQ(Row(1), unchecked) << "manual: only the box changes";

    dialog->UpdateData(FALSE);
    EXPECT_EQ(Row(0), Automatic(kC));
    RowView lockedManual = Manual(kD);
    lockedManual.enabled = false;
    EXPECT_EQ(Row(1), lockedManual);
}

TEST_F(PanelTest, ResetShowsTheBoundStringsAgainAtTheNextExchange) {
    Add("A", {kA});
    Select(0);
    dialog->ResetNicRow(0, TRUE, TRUE);
    EXPECT_EQ(Row(0), (RowView{u"", u"", u"", u"", true, 0}));
    dialog->UpdateData(FALSE);
    EXPECT_EQ(Row(0), Manual(kA));
}

}  // namespace
}  // namespace ui_test
