// The class library's calls made on a worker thread run on the UI thread.
#include <atomic>

#include "../win/worker_thread.h"
#include "afx/testing/open_dialog.h"
#include "afx_test_support.h"

namespace afx_test {
namespace {

using win::testing::WorkerThread;

class CListDlg : public CDialog {
  public:
    CListDlg() : CDialog(kFormTemplate) {}
    CListBox m_list;
    CString m_strName;

  protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, kListId, m_list);
        DDX_Text(pDX, kNameId, m_strName);
    }
};

using WorkerCallsTest = AfxTest;

TEST_F(WorkerCallsTest, ListCallsAndDataExchangeFromAWorkerRunOnTheUiThread) {
    CListDlg dialog;
    afx::testing::OpenDialog open(dialog);
    SetWindowTextW(GetDlgItem(dialog.GetSafeHwnd(), kNameId), u"界面里的文字");
    std::atomic<int> count{-1};
    CString line;
    WorkerThread worker([&] {
        dialog.m_list.InsertString(-1, u"1 IP:198.51.100.10");
        dialog.m_list.InsertString(dialog.m_list.GetCount(), u"2 IP:198.51.100.11");
        count = dialog.m_list.GetCount();
        dialog.m_list.GetText(1, line);
        dialog.UpdateData(TRUE);
    });
    ASSERT_TRUE(session.PumpUntil([&] { return worker.Finished(); }));
    EXPECT_EQ(count.load(), 2);
    EXPECT_EQ(line, u"2 IP:198.51.100.11");
    EXPECT_EQ(dialog.m_strName, u"界面里的文字");
}

TEST_F(WorkerCallsTest, AWorkersBoxIsOwnedByTheDialogAndCarriesTheApplicationsName) {
    CListDlg dialog;
    afx::testing::OpenDialog open(dialog);
    std::atomic<int> answer{-1};
    WorkerThread worker([&] { answer = dialog.MessageBox(u"error_id"); });
    const HWND box = session.WaitForBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(win::headless::Caption(box), u"quorvel");
    EXPECT_FALSE(dialog.IsWindowEnabled());
    ASSERT_TRUE(session.Answer(box, IDOK));
    ASSERT_TRUE(session.PumpUntil([&] { return worker.Finished(); }));
    EXPECT_EQ(answer.load(), IDOK);
    EXPECT_TRUE(dialog.IsWindowEnabled());
}

TEST_F(WorkerCallsTest, ClosingTheDialogTakesAWorkersOpenBoxAlong) {
    CListDlg dialog;
    afx::testing::OpenDialog open(dialog);
    std::atomic<int> answer{-1};
    WorkerThread worker([&] { answer = dialog.MessageBox(u"error_id"); });
    ASSERT_NE(session.WaitForBox(), nullptr);
    open.Close();
    ASSERT_TRUE(session.PumpUntil([&] { return worker.Finished(); }));
    EXPECT_EQ(answer.load(), 0);
    EXPECT_TRUE(win::headless::OpenMessageBoxes().empty());
}

}  // namespace
}  // namespace afx_test
