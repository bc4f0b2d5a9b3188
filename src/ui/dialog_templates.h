// The dialog templates of the program, as data.
#pragma once

#include "win/dialog.h"

win::DialogTemplate AboutDialogTemplate();       // 100, "关于 TOOL"
win::DialogTemplate MainDialogTemplate();        // 102, the main window
win::DialogTemplate CredentialDialogTemplate();  // 104, user name and password
win::DialogTemplate DeviceIdDialogTemplate();    // 105, a typed device ID
