#include "protocol/packet_header.h"

#include <gtest/gtest.h>

#include "byte_fixture.h"
#include "protocol/search_request.h"

namespace protocol_test {
namespace {

using protocol::BuildSearchRequest;
using protocol::HasMagic;
using namespace std::string_view_literals;

TEST(SearchRequest, IsTheHeaderAloneWithTheSessionIdBigEndian) {
    const Bytes expected = {
        'A',  'A',  'B',  'B',  'C', 'C', 'D',  'D',
        '_',  'K',  'A',  'V',  'R', 'O', 0x00, 0x00,  // magic, NUL at 14, zero at 15
        0x00, 0x00, 0x00, 0x00,                        // reserved
        0x00, 0x00, 0x00, 0x01,                        // command: search
        0x12, 0x34, 0x56, 0x78,                        // session id
        0x00, 0x00, 0x00, 0x00,                        // payload length
        0x00, 0x00, 0x00, 0x00,                        // error code
    };
    EXPECT_EQ(BuildSearchRequest(0x12345678), expected);
}

TEST(SearchRequest, SameSessionGivesTheSameBytes) {
    EXPECT_EQ(BuildSearchRequest(0xCAFEF00D), BuildSearchRequest(0xCAFEF00D));
    EXPECT_NE(BuildSearchRequest(0xCAFEF00D), BuildSearchRequest(0xCAFEF00E));
}

TEST(RequestHeader, PayloadLengthIsTheDatagramSizeLessTheHeader) {
    Bytes datagram(108, 0);
    protocol::WriteRequestHeader(datagram, protocol::CMD_REBOOT, 0x01020304);
    EXPECT_EQ(datagram, ExpectedRequestHeader(108, 4, 0x01020304));
    EXPECT_EQ(datagram[31], 72);
}

TEST(ReceivedHeader, FieldsReadInNetworkOrder) {
    Bytes datagram(36, 0);
    Put(datagram, 20, "\x00\x00\xF0\x02"sv);
    Put(datagram, 24, "\x89\xAB\xCD\xEF"sv);
    Put(datagram, 28, "\x00\x00\x01\x00"sv);
    Put(datagram, 32, "\x80\x00\x00\x01"sv);
    EXPECT_EQ(protocol::ReadCommand(datagram), 0xF002u);
    EXPECT_EQ(protocol::ReadSessionId(datagram), 0x89ABCDEFu);
    EXPECT_EQ(protocol::ReadPayloadLength(datagram), 256u);
    EXPECT_EQ(protocol::ReadErrorCode(datagram), 0x80000001u);
}

struct MagicCase {
    const char* what;
    Bytes first16;
    bool passes;
};

TEST(ReceivedHeader, MagicTestIsANulTerminatedComparison) {
    const MagicCase cases[] = {
        {"as requests write it",
         Bytes{'A', 'A', 'B', 'B', 'C', 'C', 'D', 'D', '_', 'K', 'A', 'V', 'R', 'O', 0, 0}, true},
        {"byte 15 holds anything",
         Bytes{'A', 'A', 'B', 'B', 'C', 'C', 'D', 'D', '_', 'K', 'A', 'V', 'R', 'O', 0, 0xFF},
         true},
        {"byte 14 not NUL",
         Bytes{'A', 'A', 'B', 'B', 'C', 'C', 'D', 'D', '_', 'K', 'A', 'V', 'R', 'O', 'X', 0},
         false},
        {"lower case letter",
         Bytes{'A', 'A', 'B', 'B', 'C', 'C', 'D', 'D', '_', 'k', 'A', 'V', 'R', 'O', 0, 0}, false},
        {"magic cut short",
         Bytes{'A', 'A', 'B', 'B', 'C', 'C', 'D', 'D', '_', 'K', 'A', 'V', 'R', 0, 0, 0}, false},
        {"all zero", Bytes(16, 0), false},
    };
    for (const MagicCase& c : cases) {
        Bytes datagram = c.first16;
        datagram.resize(36, 0xEE);  // the rest of the header never matters
        EXPECT_EQ(HasMagic(datagram), c.passes) << c.what;
    }
}

}  // namespace
}  // namespace protocol_test
