#include "protocol/packet_header.h"

#include <gtest/gtest.h>

#include "byte_fixture.h"
#include "protocol/search_request.h"

namespace protocol_test {
namespace {

using protocol::BuildSearchRequest;
using protocol::PacketHeader;
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
    PacketHeader::ForRequest(protocol::CMD_REBOOT, 0x01020304, datagram.size()).Write(datagram);
    EXPECT_EQ(datagram, ExpectedRequestHeader(108, 4, 0x01020304));
    EXPECT_EQ(datagram[31], 72);
}

TEST(ReceivedHeader, FieldsReadInNetworkOrder) {
    Bytes datagram(36, 0);
    Put(datagram, 16, "\x00\x00\x00\x09"sv);
    Put(datagram, 20, "\x00\x00\xF0\x02"sv);
    Put(datagram, 24, "\x89\xAB\xCD\xEF"sv);
    Put(datagram, 28, "\x00\x00\x01\x00"sv);
    Put(datagram, 32, "\x80\x00\x00\x01"sv);
    const PacketHeader header = PacketHeader::Read(datagram);
    EXPECT_EQ(header.reserved, 9u);
    EXPECT_EQ(header.command, 0xF002u);
    EXPECT_EQ(header.sessionId, 0x89ABCDEFu);
    EXPECT_EQ(header.payloadLength, 256u);
    EXPECT_EQ(header.errorCode, 0x80000001u);
}

// Each field alone, written and read back: it lands at its own offset, big-endian, and touches
// no other byte of the header; what follows the header is left alone.
TEST(PacketHeaderLayout, EveryFieldRoundTripsAtItsOffset) {
    const struct {
        const char* field;
        std::uint32_t PacketHeader::*member;
        std::size_t offset;
    } cases[] = {
        {"reserved", &PacketHeader::reserved, 16},
        {"command", &PacketHeader::command, 20},
        {"session id", &PacketHeader::sessionId, 24},
        {"payload length", &PacketHeader::payloadLength, 28},
        {"error code", &PacketHeader::errorCode, 32},
    };
    for (const auto& c : cases) {
        PacketHeader header;
        header.*c.member = 0xA1B2C3D4;
        Bytes datagram(40, 0xEE);
        header.Write(datagram);

        Bytes expected(36, 0);
        PutBe32(expected, c.offset, 0xA1B2C3D4);
        expected.resize(40, 0xEE);
        EXPECT_EQ(datagram, expected) << c.field;
        EXPECT_EQ(PacketHeader::Read(datagram), header) << c.field;
    }

    PacketHeader header;
    for (std::size_t i = 0; i < header.magic.size(); ++i) {
        header.magic[i] = static_cast<std::uint8_t>(0xF0 + i);
    }
    Bytes datagram(36, 0);
    header.Write(datagram);
    EXPECT_EQ(Bytes(datagram.begin(), datagram.begin() + 16),
              Bytes(header.magic.begin(), header.magic.end()));
    EXPECT_EQ(PacketHeader::Read(datagram), header);
}

TEST(PacketHeaderLayout, ShortBytesReadAsZeroAndTakeNoWrite) {
    const Bytes full = BuildSearchRequest(0x12345678);
    const Bytes cut(full.begin(), full.begin() + 26);  // the session id's first two bytes
    EXPECT_EQ(PacketHeader::Read(cut).sessionId, 0x12340000u);
    EXPECT_EQ(PacketHeader::Read(cut).payloadLength, 0u);
    EXPECT_TRUE(PacketHeader::Read(cut).HasMagic());

    Bytes tooShort(35, 0xEE);
    PacketHeader::ForRequest(protocol::CMD_SEARCH, 1, 36).Write(tooShort);
    EXPECT_EQ(tooShort, Bytes(35, 0xEE));
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
        EXPECT_EQ(PacketHeader::Read(datagram).HasMagic(), c.passes) << c.what;
    }
}

}  // namespace
}  // namespace protocol_test
