// The system menu, system commands, icons, painting and sizes.
#include "win/headless/probe.h"
#include "win/input.h"
#include "win/menu.h"
#include "win/paint.h"
#include "win/window.h"
#include "win_test_support.h"

namespace win::testing {
namespace {

class SystemMenuTest : public SessionTest {
  protected:
    void Open(DWORD style) {
        DialogTemplate dialogTemplate = TestDialog();
        dialogTemplate.style = style;
        recorder.endOnOkCancel = false;
        dialog = CreateDialogIndirectParamW(dialogTemplate, nullptr, recorder.Procedure());
    }
    std::vector<MenuItem> Items() const { return FindWindow(dialog)->SystemMenu(); }

    Recorder recorder;
    HWND dialog = nullptr;
};

constexpr DWORD kMainStyle = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX |
                             DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS;

TEST_F(SystemMenuTest, HasTheItemsOfAChineseSystemGreyedByStyleAndState) {
    Open(kMainStyle);
    const std::vector<MenuItem> expected = {
        {SC_RESTORE, u"还原(&R)", MF_GRAYED},      {SC_MOVE, u"移动(&M)", MF_STRING},
        {SC_SIZE, u"大小(&S)", MF_GRAYED},         {SC_MINIMIZE, u"最小化(&N)", MF_STRING},
        {SC_MAXIMIZE, u"最大化(&X)", MF_GRAYED},   {0, u"", MF_SEPARATOR},
        {SC_CLOSE, u"关闭(&C)\tAlt+F4", MF_STRING}};
    const std::vector<MenuItem> items = Items();
    ASSERT_EQ(items.size(), expected.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].id, expected[i].id) << i;
        EXPECT_EQ(items[i].text, expected[i].text) << i;
        EXPECT_EQ(items[i].flags, expected[i].flags) << i;
    }

    ASSERT_TRUE(input::ChooseSystemMenuItem(dialog, SC_MINIMIZE));
    EXPECT_TRUE(IsIconic(dialog));
    EXPECT_EQ(Items()[0].flags, MF_STRING) << "restore is allowed while minimised";
    EXPECT_EQ(Items()[3].flags, MF_GRAYED);
    ASSERT_TRUE(input::ChooseSystemMenuItem(dialog, SC_RESTORE));
    EXPECT_FALSE(IsIconic(dialog));
    EXPECT_FALSE(input::ChooseSystemMenuItem(dialog, SC_MAXIMIZE)) << "greyed";
    EXPECT_EQ(recorder.systemCommands, (std::vector<WPARAM>{SC_MINIMIZE, SC_RESTORE}));
}

TEST_F(SystemMenuTest, AFixedDialogWithoutMinimiseOrMaximiseBoxCanOnlyMoveAndClose) {
    Open(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT);
    const std::vector<MenuItem> items = Items();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].id, static_cast<UINT>(SC_MOVE));
    EXPECT_EQ(items[0].text, u"移动(&M)");
    EXPECT_EQ(items[1].id, static_cast<UINT>(SC_CLOSE));
    EXPECT_EQ(items[1].text, u"关闭(&C)\tAlt+F4");
    EXPECT_FALSE(input::ChooseSystemMenuItem(dialog, SC_MINIMIZE));
    ASSERT_TRUE(input::ChooseSystemMenuItem(dialog, SC_CLOSE));
    EXPECT_EQ(recorder.systemCommands, std::vector<WPARAM>{SC_CLOSE});
}

TEST_F(SystemMenuTest, AppendedItemsComeLastAndSendTheirId) {
    Open(kMainStyle);
    const HMENU menu = GetSystemMenu(dialog, FALSE);
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(AppendMenuW(menu, MF_SEPARATOR, 0, nullptr));
    ASSERT_TRUE(AppendMenuW(menu, MF_STRING, 16, u"关于 Quorvel(&A)..."));
    const std::vector<MenuItem> items = Items();
    ASSERT_EQ(items.size(), 9u);
    EXPECT_EQ(items[7].flags, MF_SEPARATOR);
    EXPECT_EQ(items[8].id, 16u);
    EXPECT_EQ(items[8].text, u"关于 Quorvel(&A)...");

    ASSERT_TRUE(input::ChooseSystemMenuItem(dialog, 16));
    EXPECT_EQ(recorder.systemCommands, std::vector<WPARAM>{16});
    EXPECT_FALSE(input::ChooseSystemMenuItem(dialog, 17));

    EXPECT_EQ(GetSystemMenu(dialog, TRUE), nullptr);
    EXPECT_EQ(Items().size(), 7u);
}

TEST_F(SystemMenuTest, AWindowWithoutSystemMenuHasNone) {
    Open(WS_POPUP | WS_CAPTION);
    EXPECT_EQ(GetSystemMenu(dialog, FALSE), nullptr);
    EXPECT_FALSE(input::ChooseSystemMenuItem(dialog, SC_CLOSE));
}

TEST_F(SystemMenuTest, MoveIsTheRenderersKeyboardMoveSizeAndMaximiseDoNothing) {
    Open(kMainStyle | WS_THICKFRAME | WS_MAXIMIZEBOX);
    for (UINT command : {SC_SIZE, SC_MAXIMIZE}) {
        SendMessageW(dialog, WM_SYSCOMMAND, command, 0);
    }
    EXPECT_TRUE(session.KeyboardMoves().empty());
    EXPECT_TRUE(input::ChooseSystemMenuItem(dialog, SC_MOVE));
    EXPECT_EQ(session.KeyboardMoves(), std::vector<HWND>{dialog});
    EXPECT_FALSE(IsIconic(dialog));
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_TRUE(recorder.commands.empty());
}

TEST_F(SystemMenuTest, IconsArePerSizeAndReturnThePreviousOne) {
    Open(kMainStyle);
    RegisterIconResource(128, IconImage{32, 32, std::vector<std::uint8_t>(32 * 32 * 4, 0xFF)});
    const HICON icon = LoadIconResource(128);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(LoadIconResource(128), icon);
    EXPECT_EQ(LoadIconResource(999), nullptr);
    EXPECT_EQ(IconPixels(icon)->width, 32);

    EXPECT_EQ(SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon)), 0);
    EXPECT_EQ(FindWindow(dialog)->Icon(ICON_BIG), icon);
    EXPECT_EQ(FindWindow(dialog)->Icon(ICON_SMALL), nullptr);
    EXPECT_EQ(SendMessageW(dialog, WM_SETICON, ICON_BIG, 0), reinterpret_cast<LRESULT>(icon));
}

TEST_F(SystemMenuTest, PaintingIsRecordedAndSizesComeFromTheBaseUnits) {
    Open(kMainStyle);
    session.SetDialogBaseUnits(8, 16);  // 1 dialog unit = 2 by 2 pixels
    RECT client{};
    ASSERT_TRUE(GetClientRect(dialog, &client));
    EXPECT_EQ(client.right, 400);
    EXPECT_EQ(client.bottom, 240);
    EXPECT_EQ(GetSystemMetrics(SM_CXICON), 32);
    EXPECT_EQ(GetSystemMetrics(SM_CYICON), 32);

    UpdateWindow(dialog);
    EXPECT_EQ(LastPaint(dialog), std::vector<PaintOperation>{{PaintKind::Background}});

    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(dialog, &paint);
    SendMessageW(dialog, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    const HICON icon = reinterpret_cast<HICON>(0x55);
    DrawIcon(dc, 64, -1, icon);
    EXPECT_TRUE(EndPaint(dialog, &paint));
    EXPECT_EQ(LastPaint(dialog), (std::vector<PaintOperation>{{PaintKind::IconBackground},
                                                              {PaintKind::Icon, 64, -1, icon}}));
    EXPECT_FALSE(DrawIcon(dc, 0, 0, icon)) << "the context ended with EndPaint";
}

}  // namespace
}  // namespace win::testing
