#include "ui/program_resources.h"

#include <mutex>

#include "afx/afx.h"
#include "ui/dialog_templates.h"
#include "ui/program_icon.h"
#include "ui/resource.h"

void LoadProgramResources() {
    static std::once_flag once;
    std::call_once(once, [] {
        win::RegisterDialogTemplate(AboutDialogTemplate());
        win::RegisterDialogTemplate(MainDialogTemplate());
        win::RegisterDialogTemplate(CredentialDialogTemplate());
        win::RegisterDialogTemplate(DeviceIdDialogTemplate());
        AfxRegisterString(IDS_ABOUTBOX, u"关于 Quorvel(&A)...");
        AfxRegisterString(IDP_SOCKETS_INIT_FAILED, u"Windows 套接字初始化失败。");
        win::RegisterIconResource(IDR_MAINFRAME, ProgramIcon());
    });
}
