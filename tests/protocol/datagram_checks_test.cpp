#include "protocol/datagram_checks.h"

#include <gtest/gtest.h>

#include "byte_fixture.h"

namespace protocol_test {
namespace {

using protocol::ReplyKind;

Bytes Reply(std::uint32_t command, std::uint32_t sessionId, std::size_t size = 36) {
    Bytes datagram(size, 0);
    Put(datagram, 0, "AABBCCDD_KAVRO");
    PutBe32(datagram, 20, command);
    PutBe32(datagram, 24, sessionId);
    return datagram;
}

TEST(DatagramChecks, LengthsBelowOneAndBelowTheHeaderAreDropped) {
    EXPECT_FALSE(protocol::IsDatagram(-1));
    EXPECT_FALSE(protocol::IsDatagram(0));
    EXPECT_TRUE(protocol::IsDatagram(1));
    EXPECT_FALSE(protocol::HasFullHeader(35));
    EXPECT_TRUE(protocol::HasFullHeader(36));
}

TEST(DatagramChecks, SessionIdMustBeThisRunsWholeValue) {
    const Bytes datagram = Reply(0xF001, 0x00010002);
    EXPECT_TRUE(protocol::IsOwnSession(datagram, 0x00010002));
    EXPECT_FALSE(protocol::IsOwnSession(datagram, 0x00020001));
    EXPECT_FALSE(protocol::IsOwnSession(datagram, 0x00010003));
}

TEST(DatagramChecks, AnyNonZeroErrorCodeCounts) {
    Bytes datagram = Reply(0xF001, 7);
    EXPECT_FALSE(protocol::HasErrorCode(datagram));
    Put(datagram, 35, "\x01");
    EXPECT_TRUE(protocol::HasErrorCode(datagram));
    Put(datagram, 35, std::string_view("\x00", 1));
    Put(datagram, 32, "\x80");
    EXPECT_TRUE(protocol::HasErrorCode(datagram));
}

TEST(DatagramChecks, OnlyTheThreeReplyCodesSelectAHandler) {
    const struct {
        std::uint32_t command;
        ReplyKind kind;
    } cases[] = {
        {0xF001, ReplyKind::kDeviceInfo},
        {0xF002, ReplyKind::kModifyResult},
        {0xF004, ReplyKind::kRebootResult},
        {1, ReplyKind::kOther},
        {2, ReplyKind::kOther},
        {4, ReplyKind::kOther},
        {0xF000, ReplyKind::kOther},
        {0xF003, ReplyKind::kOther},
        {0x1F001, ReplyKind::kOther},
        {0xF0010000, ReplyKind::kOther},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(protocol::ReplyKindOf(Reply(c.command, 1)), c.kind) << std::hex << c.command;
    }
}

TEST(ResultReply, TextEndsAtItsNulOrAtTheEndOfTheDatagram) {
    EXPECT_EQ(protocol::ResultText(protocol::PayloadOf(Reply(0xF002, 1))), "");

    Bytes terminated = Reply(0xF002, 1, 36 + 8);
    Put(terminated, 36, std::string_view("bad\0junk", 8));
    EXPECT_EQ(protocol::ResultText(protocol::PayloadOf(terminated)), "bad");

    Bytes unterminated = Reply(0xF004, 1);
    Put(unterminated, 36, "\xD3\xC3\xBB\xA7");  // GBK text, passed on unconverted
    EXPECT_EQ(protocol::ResultText(protocol::PayloadOf(unterminated)), "\xD3\xC3\xBB\xA7");
}

}  // namespace
}  // namespace protocol_test
