// The headless renderer with a scripted operator, for tests. A test installs a Session on its
// thread (which becomes the UI thread), scripts beforehand what the operator does in each
// dialog or message box it expects, and runs the code under test unchanged: DoModal and message
// boxes run their loops here, and the operator acts in them.
//
//     win::headless::Session session([](const std::string& m) { ADD_FAILURE() << m; });
//     session.ExpectDialog(u"请输入设备的用户名和密码").Type(1024, u"admin").Type(1025, u"pw")
//         .Click(IDOK);
//     session.ExpectBox(u"设备ID不能为空").Answer(IDOK);
//
// A dialog or box that runs a modal loop with no script for it, or whose script ran out while it
// is still open, is a failure (reported with its caption and text) and is ended with IDCANCEL (a
// box: with its last button) instead of hanging. Scripts never used and scripted steps left when
// a window closes are failures too. Boxes shown by other threads have no loop of their own: a
// script answers them whenever the UI thread pumps, or the test waits for them (WaitForBox) and
// answers them itself.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "win/headless/script.h"
#include "win/renderer.h"

namespace win::headless {

struct ShownWindow {
    HWND window = nullptr;
    std::u16string caption;
    std::u16string text;  // a box's message; empty for dialogs
    bool messageBox = false;
};

class Session final : public Renderer {
  public:
    using FailureHandler = std::function<void(const std::string& message)>;
    using Milliseconds = std::chrono::milliseconds;

    // Without a handler failures go to standard error; Failures() counts them either way.
    explicit Session(FailureHandler onFailure = nullptr);
    // Reports unused scripts, destroys the windows still open (a waiting worker's box answers
    // 0) and uninstalls itself.
    ~Session() override;
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Scripts, matched in the order given, each to the first dialog in a modal run or box shown
    // that fits. Dialogs opened without a loop (CreateDialogIndirectParamW) are not matched.
    Script& ExpectDialog(std::u16string caption);
    Script& ExpectBox(std::u16string text);
    Script& ExpectBox(std::u16string text, std::u16string caption);

    // Runs the queued cross-thread calls and scripted steps that are due, without blocking.
    void Pump();
    // Pumps, blocking in between until woken, until `condition` holds; false on time-out.
    bool PumpUntil(const std::function<bool()>& condition, Milliseconds timeout = kDefaultTimeout);
    // The next message box that is open, no script claims and no earlier call returned; null on
    // time-out. Pumps while it waits.
    HWND WaitForBox(Milliseconds timeout = kDefaultTimeout);
    // Presses the box's button with that id (IDOK, IDYES, IDNO).
    bool Answer(HWND box, int buttonId);

    // Every dialog and box shown, in order.
    const std::vector<ShownWindow>& Shown() const { return shown_; }
    // The windows the system menu's Move was chosen for, in order.
    const std::vector<HWND>& KeyboardMoves() const { return keyboardMoves_; }
    int Failures() const { return failures_; }

    // Pixels of a dialog unit: base x / 4 by base y / 8. Default 7 by 15.
    void SetDialogBaseUnits(int baseX, int baseY);

    // Renderer
    void WindowChanged(HWND window, Change change) override;
    void RunUntil(const std::function<bool()>& done) override;
    void Wake() override;
    void MoveWithKeyboard(HWND topLevel) override { keyboardMoves_.push_back(topLevel); }
    RECT DialogUnitsToPixels(HWND dialog, RECT dialogUnits) override;

    static constexpr Milliseconds kDefaultTimeout{5000};

  private:
    Script& AddScript(bool forMessageBox, std::optional<std::u16string> caption,
                      std::optional<std::u16string> text);
    void Matched(HWND window);
    bool RunOneStep();
    void EndUnattended(HWND modal);
    void WaitForWake(Milliseconds timeout);
    void Fail(const std::string& message);
    std::string Describe(HWND window) const;

    FailureHandler onFailure_;
    int failures_ = 0;
    int baseX_ = 7;
    int baseY_ = 15;
    std::deque<std::unique_ptr<Script>> scripts_;
    std::map<HWND, Script*> running_;  // window -> its script
    std::set<HWND> claimed_;           // boxes WaitForBox handed out
    std::vector<ShownWindow> shown_;
    std::vector<HWND> keyboardMoves_;

    std::mutex wakeMutex_;
    std::condition_variable wakeSignal_;
    bool woken_ = false;
};

}  // namespace win::headless
