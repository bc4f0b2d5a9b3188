#include "afx/win_app.h"

#include <exception>
#include <mutex>
#include <string>

#include "platform/codepage.h"
#include "platform/output.h"
#include "win/message_box.h"
#include "win/quit.h"
#include "win/window.h"
#include "win/window_api.h"

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

namespace {

CWinApp* currentApp = nullptr;

// The name AfxWinInit found, for when there is no application object (tests).
std::u16string& InitialisedName() {
    static std::u16string name;
    return name;
}

// The executable's file name without folder and extension, as the class library takes it.
std::u16string NameOfExecutable(const char* argv0) {
    std::string path = argv0 != nullptr ? argv0 : "";
    const std::size_t slash = path.find_last_of('/');
    if (slash != std::string::npos) {
        path.erase(0, slash + 1);
    }
    const std::size_t dot = path.find_last_of('.');
    if (dot != std::string::npos && dot > 0) {
        path.erase(dot);
    }
    return plat::Utf8ToWide(path);
}

}  // namespace

CWinApp::CWinApp(const char16_t* lpszAppName) {
    if (lpszAppName != nullptr) {
        appName_ = lpszAppName;
        m_pszAppName = appName_.c_str();
    }
    currentApp = this;
}

CWinApp::~CWinApp() {
    if (currentApp == this) {
        currentApp = nullptr;
    }
}

win::BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::ExitInstance() {
    // As the class library returns the code of the quit message that ended the loops, if any.
    return win::QuitPosted().value_or(0);
}

void CWinApp::SetRegistryKey(const char16_t* lpszRegistryKey) {
    registryKey_ = lpszRegistryKey != nullptr ? lpszRegistryKey : u"";
    m_pszRegistryKey = registryKey_.c_str();
}

win::HICON CWinApp::LoadIcon(win::UINT nIDResource) const {
    return win::LoadIconResource(static_cast<int>(nIDResource));
}

void CWinApp::OnHelp() {
    plat::OutputDebugStringA("CWinApp::OnHelp: no help file\n");
}

CWinApp* AfxGetApp() {
    return currentApp;
}

CWnd* AfxGetMainWnd() {
    CWinApp* app = AfxGetApp();
    return app != nullptr ? app->m_pMainWnd : nullptr;
}

const char16_t* AfxGetAppName() {
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pszAppName != nullptr) {
        return app->m_pszAppName;
    }
    return InitialisedName().c_str();
}

void AfxWinInit(const char* argv0) {
    InitialisedName() = NameOfExecutable(argv0);
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pszAppName == nullptr) {
        app->appName_ = InitialisedName();
        app->m_pszAppName = app->appName_.c_str();
    }
    win::SetApplicationName(AfxGetAppName());
}

int AfxWinMain(win::Renderer& renderer, const char* argv0) {
    win::SetRenderer(&renderer);
    AfxWinInit(argv0);
    int exitCode = -1;
    CWinApp* app = AfxGetApp();
    if (app != nullptr) {
        try {
            if (app->InitInstance()) {
                // No window to run for: a program whose main window is gone has ended.
                renderer.RunUntil([app] {
                    CWnd* main = app->m_pMainWnd;
                    return main == nullptr || !win::IsWindow(main->GetSafeHwnd()) ||
                           win::QuitPosted();
                });
            } else if (CWnd* main = app->m_pMainWnd) {
                main->DestroyWindow();
            }
            exitCode = app->ExitInstance();
        } catch (const std::exception& e) {
            const std::string line =
                std::string("exception in the application: ") + e.what() + "\n";
            plat::OutputDebugStringA(line.c_str());
        } catch (...) {
            plat::OutputDebugStringA("exception in the application\n");
        }
    }
    // A program's windows end with it, boxes without owner that a worker left open among them:
    // gone from the screen before whatever the process still waits for at its exit.
    for (const win::HWND window : win::TopLevelWindows()) {
        win::DestroyWindow(window);
    }
    win::SetRenderer(nullptr);
    return exitCode;
}
