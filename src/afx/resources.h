// Resources of the program: the string table and icons (icons: win::RegisterIconResource).
#pragma once

#include "win/types.h"

// Any thread; a later registration replaces an earlier one.
void AfxRegisterString(win::UINT id, const char16_t* text);

struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;
HINSTANCE AfxGetInstanceHandle();

// MAKEINTRESOURCEW: a resource id passed where a name may be.
inline const char16_t* MAKEINTRESOURCEW(win::UINT id) {
    return reinterpret_cast<const char16_t*>(static_cast<win::UINT_PTR>(id));
}
// The icon of resource `id` (the instance is not looked at); null when it is not registered.
win::HICON LoadIconW(HINSTANCE instance, const char16_t* resource);
win::HICON LoadIconW(HINSTANCE instance, win::UINT id);
