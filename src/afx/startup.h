// The class library's start-up services: sockets, common controls, control containment, and the
// application's message boxes.
#pragma once

#include "platform/sockets.h"
#include "win/types.h"

// Starts the socket library for version 1.1; FALSE when it cannot be started or lacks it.
win::BOOL AfxSocketInit(plat::WSAData* data = nullptr);
// Nothing to do here: dialogs host only the built-in controls.
void AfxEnableControlContainer(void* factory = nullptr);

struct INITCOMMONCONTROLSEX {
    win::DWORD dwSize;
    win::DWORD dwICC;
};
inline constexpr win::DWORD ICC_WIN95_CLASSES = 0xFF;
// The built-in classes always exist: returns TRUE.
win::BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);

// A box with the application's name as caption, owned by the main window when it has one.
int AfxMessageBox(win::UINT nIDPrompt, win::UINT nType = win::MB_OK,
                  win::UINT nIDHelp = 0xFFFFFFFFu);
int AfxMessageBox(const char16_t* text, win::UINT nType = win::MB_OK, win::UINT nIDHelp = 0);
