#include "afx/startup.h"

#include "afx/cstring.h"
#include "afx/win_app.h"
#include "win/message_box.h"

namespace {

constexpr win::WORD kSocketVersion11 = 0x0101;

}  // namespace

win::BOOL AfxSocketInit(plat::WSAData* data) {
    plat::WSAData started{};
    if (plat::WSAStartup(kSocketVersion11, &started) != 0) {
        return FALSE;
    }
    if (started.wVersion != kSocketVersion11) {
        plat::WSACleanup();
        return FALSE;
    }
    if (data != nullptr) {
        *data = started;
    }
    return TRUE;
}

void AfxEnableControlContainer(void*) {}

win::BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX*) {
    return TRUE;
}

int AfxMessageBox(const char16_t* text, win::UINT nType, win::UINT) {
    CWnd* main = AfxGetMainWnd();
    const char16_t* name = AfxGetAppName();
    return win::MessageBoxW(main != nullptr ? main->GetSafeHwnd() : nullptr, text,
                            name != nullptr && *name != u'\0' ? name : nullptr, nType);
}

int AfxMessageBox(win::UINT nIDPrompt, win::UINT nType, win::UINT nIDHelp) {
    CString text;
    text.LoadString(nIDPrompt);
    return AfxMessageBox(text.GetString(), nType, nIDHelp);
}
