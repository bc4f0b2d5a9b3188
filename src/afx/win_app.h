// CWinApp: the one application object, and the program entry that runs it.
#pragma once

#include <string>

#include "afx/message_map.h"
#include "afx/wnd.h"
#include "win/renderer.h"
#include "win/types.h"

inline constexpr win::UINT ID_HELP = 0xE146;

class CWinApp : public CCmdTarget {
    DECLARE_DYNAMIC(CWinApp)
  public:
    // Becomes the application object. A null name: the executable's file name (AfxWinInit).
    explicit CWinApp(const char16_t* lpszAppName = nullptr);
    ~CWinApp() override;

    virtual win::BOOL InitInstance();  // TRUE
    // The exit code: that of a quit posted (win/quit.h), else 0.
    virtual int ExitInstance();

    // Stores the key's name only; nothing is ever written under it.
    void SetRegistryKey(const char16_t* lpszRegistryKey);
    win::HICON LoadIcon(win::UINT nIDResource) const;

    // No help file here: writes a line on the debugger output and nothing else.
    afx_msg void OnHelp();

    CWnd* m_pMainWnd = nullptr;
    const char16_t* m_pszAppName = nullptr;
    const char16_t* m_pszRegistryKey = nullptr;

    DECLARE_MESSAGE_MAP()

  private:
    friend void AfxWinInit(const char* argv0);
    std::u16string appName_;
    std::u16string registryKey_;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
// The application's name; empty before AfxWinInit.
const char16_t* AfxGetAppName();

// Initialises the library: the application's name from the executable's file name (when the
// application object was given none). Tests call it instead of AfxWinMain.
void AfxWinInit(const char* argv0);

// The program entry: installs `renderer` on this thread (the UI thread), AfxWinInit, then the
// application object's InitInstance. When that returns FALSE the program ends (ExitInstance);
// when TRUE the renderer's loop runs while the main window exists (and no quit was posted), then
// ExitInstance. Every window still open is destroyed before it returns the exit code.
int AfxWinMain(win::Renderer& renderer, const char* argv0);
