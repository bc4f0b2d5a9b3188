// Whole-buffer text codecs behind the code-page calls. Each converts every unit it is given
// (a NUL included) and replaces what it cannot convert instead of failing.
#pragma once

#include <string>
#include <string_view>

namespace plat::detail {

// What a unit or byte sequence that cannot be converted becomes.
constexpr char16_t kReplacementUnit = u'?';

// Invalid or cut sequences become one '?' per maximal invalid part.
std::u16string DecodeUtf8(std::string_view bytes);
// Unpaired surrogates become '?'.
std::string EncodeUtf8(std::u16string_view units);

// Code page 936. Invalid bytes and a lead byte without its trail become '?'.
std::u16string DecodeGbk(std::string_view bytes);
// Characters the code page lacks (and unpaired surrogates) become `replacement`; a surrogate
// pair counts as one character. Sets *usedReplacement when one was written (if given).
std::string EncodeGbk(std::u16string_view units, char replacement, bool* usedReplacement);

}  // namespace plat::detail
