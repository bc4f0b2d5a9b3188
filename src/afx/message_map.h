// Message maps: one entry per message, notification and control id. A class's map is searched
// first, then its base class's map, and so on; a message no map handles goes to the default
// window procedure. Handlers are members of the class that declares the map.
//
//     class CMyDlg : public CDialog {
//         afx_msg void OnBnClickedGo();
//         DECLARE_MESSAGE_MAP()
//     };
//     BEGIN_MESSAGE_MAP(CMyDlg, CDialog)
//         ON_BN_CLICKED(1000, &CMyDlg::OnBnClickedGo)
//     END_MESSAGE_MAP()
#pragma once

#include "afx/object.h"
#include "win/types.h"

#define afx_msg

class CCmdTarget;

// Calls the handler of one entry on `target`, whose dynamic type is the map's class.
using AFX_PMSG = win::LRESULT (*)(CCmdTarget* target, win::WPARAM wParam, win::LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
    win::UINT nMessage;  // WM_NULL ends the table
    win::UINT nCode;     // WM_COMMAND: the notification code (BN_CLICKED, LBN_SELCHANGE, ...)
    win::UINT nID;       // WM_COMMAND: the control or command id
    AFX_PMSG pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();  // null for the root
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                     \
  protected:                                      \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

// clang-format off
#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                          \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }   \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                   \
        using ThisClass = theClass;                                                     \
        using TheBaseClass = baseClass;                                                 \
        static const AFX_MSGMAP_ENTRY messageEntries[] = {

#define END_MESSAGE_MAP()                                                               \
            {win::WM_NULL, 0, 0, nullptr}};                                             \
        static_assert(sizeof(ThisClass) > 0);                                           \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap,          \
                                              &messageEntries[0]};                       \
        return &messageMap;                                                             \
    }
// clang-format on

// WM_COMMAND with a notification code from one control (or a command id, code 0).
#define ON_CONTROL(code, id, memberFxn)                                         \
    {win::WM_COMMAND, static_cast<win::UINT>(code), static_cast<win::UINT>(id), \
     [](CCmdTarget* target, win::WPARAM, win::LPARAM) -> win::LRESULT {         \
         (static_cast<ThisClass*>(target)->*(memberFxn))();                     \
         return 0;                                                              \
     }},
#define ON_COMMAND(id, memberFxn) ON_CONTROL(0, id, memberFxn)
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(win::BN_CLICKED, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(win::LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(win::LBN_DBLCLK, id, memberFxn)

// Any message, to a handler LRESULT (WPARAM, LPARAM).
#define ON_MESSAGE(message, memberFxn)                                                \
    {static_cast<win::UINT>(message), 0, 0,                                           \
     [](CCmdTarget* target, win::WPARAM wParam, win::LPARAM lParam) -> win::LRESULT { \
         return (static_cast<ThisClass*>(target)->*(memberFxn))(wParam, lParam);      \
     }},

// void OnSysCommand(UINT nID, LPARAM lParam)
#define ON_WM_SYSCOMMAND()                                                                      \
    {win::WM_SYSCOMMAND, 0, 0,                                                                  \
     [](CCmdTarget* target, win::WPARAM wParam, win::LPARAM lParam) -> win::LRESULT {           \
         static_cast<ThisClass*>(target)->OnSysCommand(static_cast<win::UINT>(wParam), lParam); \
         return 0;                                                                              \
     }},
// void OnPaint()
#define ON_WM_PAINT()                                                                        \
    {win::WM_PAINT, 0, 0, [](CCmdTarget* target, win::WPARAM, win::LPARAM) -> win::LRESULT { \
         static_cast<ThisClass*>(target)->OnPaint();                                         \
         return 0;                                                                           \
     }},
// HCURSOR OnQueryDragIcon()
#define ON_WM_QUERYDRAGICON()                                           \
    {win::WM_QUERYDRAGICON, 0, 0,                                       \
     [](CCmdTarget* target, win::WPARAM, win::LPARAM) -> win::LRESULT { \
         return reinterpret_cast<win::LRESULT>(                         \
             static_cast<ThisClass*>(target)->OnQueryDragIcon());       \
     }},
// void OnDestroy()
#define ON_WM_DESTROY()                                                                        \
    {win::WM_DESTROY, 0, 0, [](CCmdTarget* target, win::WPARAM, win::LPARAM) -> win::LRESULT { \
         static_cast<ThisClass*>(target)->OnDestroy();                                         \
         return 0;                                                                             \
     }},

// The root of every map: commands and messages.
class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
  public:
    CCmdTarget() = default;

    // Runs the handler of WM_COMMAND (nCode, nID) from this object's maps; false when none.
    virtual bool OnCmdMsg(win::UINT nID, int nCode);
    // The first entry for `message` (and, for WM_COMMAND, code and id) in the map chain.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(win::UINT message, win::UINT code, win::UINT id) const;

  protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};
