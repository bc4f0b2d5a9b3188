// Windows and the objects attached to them.
#pragma once

#include "win/types.h"

class CWnd;

namespace afx::detail {

CWnd* FindPermanent(win::HWND window);
void AddPermanent(win::HWND window, CWnd* object);
void RemovePermanent(win::HWND window, const CWnd* object);  // only if it is that object's

}  // namespace afx::detail
