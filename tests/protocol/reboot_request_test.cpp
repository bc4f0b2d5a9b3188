#include "protocol/reboot_request.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "byte_fixture.h"

namespace protocol_test {
namespace {

using namespace std::string_view_literals;
using protocol::BuildRebootRequest;
using protocol::RebootDeviceId;

constexpr std::uint32_t kSession = 0xFEDCBA98;

Bytes ExpectedReboot(std::string_view user, std::string_view password, std::string_view id) {
    Bytes expected(108, 0);
    Put(expected, 0, "AABBCCDD_KAVRO");
    Put(expected, 20, "\x00\x00\x00\x04"sv);
    Put(expected, 24, "\xFE\xDC\xBA\x98"sv);
    Put(expected, 28, "\x00\x00\x00\x48"sv);
    Put(expected, 36, user);
    Put(expected, 56, password);
    Put(expected, 76, id);
    return expected;
}

protocol::DeviceInfo InfoWithSerialBytes(std::string_view serialField) {
    protocol::DeviceInfo info;
    info.bytes.fill(0x77);
    for (std::size_t i = 0; i < 32; ++i) {
        info.bytes[392 + i] =
            i < serialField.size() ? static_cast<std::uint8_t>(serialField[i]) : 0;
    }
    return info;
}

TEST(RebootRequest, ThirtyOneByteIdEndsWithItsZeroAtTheLastByte) {
    const std::string id(31, 'D');
    const Bytes request = BuildRebootRequest(kSession, {"admin", "secret"}, id);
    EXPECT_EQ(request, ExpectedReboot("admin", "secret", id));
    EXPECT_EQ(request.size(), 108u);
    EXPECT_EQ(request[106], 'D');
    EXPECT_EQ(request[107], 0);
}

TEST(RebootRequest, NineteenByteCredentialsEndWithTheirZeros) {
    const std::string user(19, 'u');
    const std::string password(19, 'p');
    const Bytes request = BuildRebootRequest(kSession, {user, password}, "K7Q2X9");
    EXPECT_EQ(request, ExpectedReboot(user, password, "K7Q2X9"));
    EXPECT_EQ(request[54], 'u');
    EXPECT_EQ(request[55], 0);
    EXPECT_EQ(request[74], 'p');
    EXPECT_EQ(request[75], 0);
}

TEST(RebootRequest, OverlongTextsAreCutAndKeepTheirZeros) {
    const Bytes request = BuildRebootRequest(kSession, {std::string(30, 'u'), std::string(30, 'p')},
                                             std::string(40, 'D'));
    EXPECT_EQ(request,
              ExpectedReboot(std::string(19, 'u'), std::string(19, 'p'), std::string(31, 'D')));
}

TEST(RebootDeviceId, SelectedSerialIsCopiedRawUpToItsNul) {
    // Junk after the terminator must not reach the request.
    const auto id = RebootDeviceId(InfoWithSerialBytes("K7\xB0\xA1X9\0junk"sv));
    ASSERT_TRUE(id.has_value());
    EXPECT_EQ(*id, "K7\xB0\xA1X9");
    EXPECT_EQ(BuildRebootRequest(kSession, {"a", "b"}, *id),
              ExpectedReboot("a", "b", "K7\xB0\xA1X9"));
}

TEST(RebootDeviceId, EmptySerialGivesAnAllZeroIdField) {
    const auto id = RebootDeviceId(InfoWithSerialBytes(""));
    ASSERT_TRUE(id.has_value());
    const Bytes request = BuildRebootRequest(kSession, {"a", "b"}, *id);
    EXPECT_EQ(request, ExpectedReboot("a", "b", ""));
}

TEST(RebootDeviceId, SerialWithoutNulInItsFieldIsRefused) {
    EXPECT_FALSE(RebootDeviceId(InfoWithSerialBytes(std::string(32, 'S'))).has_value());
    EXPECT_EQ(RebootDeviceId(InfoWithSerialBytes(std::string(31, 'S'))), std::string(31, 'S'));
}

}  // namespace
}  // namespace protocol_test
