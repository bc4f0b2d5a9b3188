// The user name and password that modify and reboot requests carry.
#pragma once

#include <cstddef>
#include <string>

#include "protocol/wire_layout.h"

namespace protocol {

// Each credential field holds at most 19 bytes of text and its terminating zero.
constexpr std::size_t kCredentialFieldSize = reboot_request::kUserName.size;
static_assert(kCredentialFieldSize == reboot_request::kPassword.size &&
              kCredentialFieldSize == modify_request::kUserName.size &&
              kCredentialFieldSize == modify_request::kPassword.size);

// Code page 936 bytes (WideToAnsi of what the operator typed). The credential dialog refuses
// texts that do not pass FitsInField(text, kCredentialFieldSize); the builders cut defensively.
struct Credentials {
    std::string userName;
    std::string password;
};

}  // namespace protocol
