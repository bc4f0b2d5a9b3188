// The string table behind AfxRegisterString and CString::LoadString.
#pragma once

#include <optional>
#include <string>

#include "win/types.h"

namespace afx::detail {

std::optional<std::u16string> LookUpString(win::UINT id);

}  // namespace afx::detail
