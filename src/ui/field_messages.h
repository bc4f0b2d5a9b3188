// What the operator is told when a text does not fit its request field (a field holds its text
// and a terminating zero, in code page 936).
#pragma once

inline constexpr char16_t kUserNameTooLong[] = u"用户名过长：最多 19 个字节（GBK 编码）";
inline constexpr char16_t kPasswordTooLong[] = u"密码过长：最多 19 个字节（GBK 编码）";
inline constexpr char16_t kDeviceIdTooLong[] = u"设备ID过长：最多 31 个字节（GBK 编码）";
inline constexpr char16_t kSerialTooLong[] = u"所选设备的序列号超过 31 个字节，无法作为设备ID发送";
