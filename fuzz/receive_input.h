// The layout of a fuzz_receive input (read with InputReader):
//
//   input := flags step*
//   flags := 1 byte; bit 0: a result box counts as shown already when the input starts
//   step  := op body, with op taken modulo kOpCount:
//     kDatagram..kDatagramLast  from(4, network order) size(2, LE) bytes[size]
//     kLongDatagram             from(4) size(2) bytes[size] total(2, LE): the datagram is then
//                               lengthened to 2 * total bytes by repeating its last 88 bytes
//                               (one interface entry), or zeros when it has fewer
//     kSelect                   line(1; 0xFF: none): the operator selects that line
//     kDoubleClick              line(1; 0xFF: none): the operator double-clicks it
//     kPress                    which(1) modulo kPressTargetCount: see PressTarget
//
// A datagram is received by the dialog's worker as the fake network delivers it; the receive
// buffer cuts what lies beyond 65,536 bytes.
#pragma once

#include <cstdint>

namespace fuzz::receive {

enum Op : std::uint8_t {
    kDatagram = 0,
    kDatagramLast = 3,
    kLongDatagram = 4,
    kSelect = 5,
    kDoubleClick = 6,
    kPress = 7,
    kOpCount = 8,
};

enum PressTarget : std::uint8_t {
    kAutoRow0 = 0,
    kAutoRow1 = 1,
    kAutoRow2 = 2,
    kDnsAuto = 3,
    kModify = 4,
    kReboot = 5,
    kPressTargetCount = 6,
};

constexpr std::uint8_t kFlagResultShown = 0x01;
constexpr std::size_t kRepeatUnit = 88;

}  // namespace fuzz::receive
