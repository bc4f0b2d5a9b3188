// The layout of a fuzz_requests input (read with InputReader; a text is a length byte and that
// many UTF-16 units, little-endian):
//
//   input   := session(4) address(4) rows[3] dns user password typedId record tail
//   row     := flags(1; bit 0: the box "自动获取" is checked) name ip mask gateway
//   dns     := flags(1; bit 0: the DNS box is checked) preferred alternate
//   record  := entries(1, modulo kMaxRecordEntries + 1) info(584) entry(88)*entries
//              (bytes missing at the end of the input are zeros)
//   tail    := limit(2, LE) text: the rest of the input as 8-bit text for the conversions, and
//              the byte count it is cut to
#pragma once

#include <cstddef>

namespace fuzz::requests {

constexpr std::size_t kRows = 3;
constexpr std::size_t kMaxRecordEntries = 8;
constexpr std::size_t kInfoSize = 584;
constexpr std::size_t kEntrySize = 88;
constexpr unsigned kFlagChecked = 0x01;

}  // namespace fuzz::requests
