// Text conversion between UTF-16 and the 8-bit code pages: UTF-8 and the ANSI code page, which
// is code page 936 (GBK), the code page of the systems the tool and its devices were made for.
//
// Both calls behave as with flags 0 and a source length of -1: they convert up to and including
// the terminating NUL, and with no output buffer (or size 0) return the size needed, terminator
// included. They replace what they cannot map instead of failing: characters the target lacks,
// and source bytes that form no character, become '?' (U+003F). On a terminated source they
// fail (return 0) only when the output buffer is too small.
#pragma once

#include <string>

#include "platform/types.h"

namespace plat {

constexpr UINT CP_ACP = 0;
constexpr UINT CP_UTF8 = 65001;
constexpr UINT kAnsiCodePage = 936;

int MultiByteToWideChar(UINT codePage, DWORD flags, const char* source, int sourceLength,
                        char16_t* target, int targetUnits);
int WideCharToMultiByte(UINT codePage, DWORD flags, const char16_t* source, int sourceLength,
                        char* target, int targetBytes, const char* defaultChar,
                        BOOL* usedDefaultChar);

// Conveniences for the window layer (whole strings, no length limits).
std::string WideToUtf8(const std::u16string& text);
std::u16string Utf8ToWide(const std::string& text);
std::u16string AnsiToWideString(const std::string& text);  // code page 936
std::string WideToAnsiString(const std::u16string& text);  // code page 936

}  // namespace plat
