// Basic integer and handle types shared by every layer, named as the tool's code uses them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace plat {

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using ULONG = std::uint32_t;
using LONG = std::int32_t;
using BOOL = std::int32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

// A kernel object (event or thread). Null means "none".
struct KernelObject;
using HANDLE = KernelObject*;

}  // namespace plat

// Guarded like GLib's own definitions, so either header may come first.
#ifndef FALSE
#define FALSE 0
#endif
#ifndef TRUE
#define TRUE 1
#endif
