// The text rules of the IPv4 address control: four fields, each blank or 0..255.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace win::detail {

using AddressFields = std::array<std::optional<int>, 4>;

// Text set from code: four dotted decimal fields of 1 to 3 digits, each 0..255. The empty text,
// and any text that is not such an address, blanks every field.
AddressFields ParseAddressFromCode(std::u16string_view text);
// Text the operator typed: up to four dot-separated fields; in each the digits count (at most
// three), a value above 255 becomes 255, a field without digits stays blank.
AddressFields ParseAddressFromOperator(std::u16string_view text);
// What the control gives: the empty text when every field is blank, else dotted text with
// blank fields as 0.
std::u16string AddressTextOf(const AddressFields& fields);
// What the control shows: the empty text when every field is blank, else the fields with
// blank ones empty ("192.168..").
std::u16string AddressDisplayText(const AddressFields& fields);

}  // namespace win::detail
