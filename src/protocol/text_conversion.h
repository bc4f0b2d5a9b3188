// The conversions through which texts pass between the wire (8-bit) and the window (UTF-16).
// The ANSI code page is 936 (GBK). Inputs are bounded texts already cut from their fields;
// each is taken up to its first NUL. None fails: what cannot be mapped becomes '?'.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace protocol {

// The one buffer AnsiToWide converts into, in UTF-16 units, terminator included.
constexpr std::size_t kAnsiToWideBufferUnits = 1024;

// UTF-8 to code page 936 through UTF-16 (the device name); a failed step gives "".
std::string Utf8ToAnsi(std::string_view utf8);

// Code page 936 to UTF-16 for the window; "" when the text needs more than 1024 units with its
// terminator (1023 ASCII characters pass whole, 1024 give "").
std::u16string AnsiToWide(std::string_view ansi);

// UTF-16 from the window to code page 936 bytes for the wire (characters GBK lacks become '?').
// Check the result with FitsInField before it goes into a field.
std::string WideToAnsi(std::u16string_view text);

}  // namespace protocol
