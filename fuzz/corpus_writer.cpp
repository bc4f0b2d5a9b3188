// Writes the seed corpus of both fuzzers from the test fixtures' replies:
//   fuzz_corpus_writer <dir>   ->  <dir>/fuzz_receive/<name>, <dir>/fuzz_requests/<name>
// The checked-in corpus is fuzz/corpus; run this again after changing an input layout.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz/input_reader.h"
#include "fuzz/receive_input.h"
#include "fuzz/requests_input.h"
#include "tests/ui/reply_bytes.h"

namespace {

using fuzz::InputWriter;
using ui_test::Bytes;
using ui_test::DeviceReply;
using ui_test::Nic;

constexpr std::uint32_t kSession = 0x11223344;  // the receive harness's session id

std::uint32_t Address(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d) {
    const std::uint8_t bytes[4] = {a, b, c, d};
    std::uint32_t value = 0;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

void Write(const std::filesystem::path& file, const std::string& data) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary).write(data.data(), static_cast<long>(data.size()));
}

// fuzz_receive inputs.
class ReceiveSeed {
  public:
    explicit ReceiveSeed(std::uint8_t flags = 0) { input_.Byte(flags); }

    ReceiveSeed& Datagram(const Bytes& datagram, std::uint32_t from) {
        input_.Byte(fuzz::receive::kDatagram);
        input_.Raw32(from);
        input_.Le16(static_cast<std::uint16_t>(datagram.size()));
        input_.Bytes(datagram);
        return *this;
    }
    ReceiveSeed& Long(const Bytes& datagram, std::uint32_t from, std::size_t total) {
        input_.Byte(fuzz::receive::kLongDatagram);
        input_.Raw32(from);
        input_.Le16(static_cast<std::uint16_t>(datagram.size()));
        input_.Bytes(datagram);
        input_.Le16(static_cast<std::uint16_t>(total / 2));
        return *this;
    }
    ReceiveSeed& Select(std::uint8_t line) { return Op(fuzz::receive::kSelect, line); }
    ReceiveSeed& DoubleClick(std::uint8_t line) { return Op(fuzz::receive::kDoubleClick, line); }
    ReceiveSeed& Press(std::uint8_t target) { return Op(fuzz::receive::kPress, target); }
    const std::string& Data() const { return input_.Data(); }

  private:
    ReceiveSeed& Op(std::uint8_t op, std::uint8_t argument) {
        input_.Byte(op);
        input_.Byte(argument);
        return *this;
    }
    InputWriter input_;
};

DeviceReply TwoInterfaces() {
    DeviceReply d;
    d.nics = {Nic{"eth0", "192.168.1.20", "255.255.255.0", "192.168.1.1"},
              Nic{"wlan0", "10.0.0.2", "255.0.0.0", "10.0.0.1"}};
    d.nics[0].opaque[3] = 0x5A;
    d.nics[1].flag[3] = 1;  // big-endian 1: automatic
    return d;
}

Bytes WithByte(Bytes b, std::size_t at, std::uint8_t value) {
    b[at] = value;
    return b;
}

void WriteReceiveSeeds(const std::filesystem::path& dir) {
    using namespace fuzz::receive;
    const std::uint32_t device = Address(192, 168, 1, 20);
    const Bytes info = TwoInterfaces().Encode(kSession);

    Write(dir / "one_device", ReceiveSeed()
                                  .Datagram(info, device)
                                  .Select(0)
                                  .Press(kAutoRow0)
                                  .Press(kModify)
                                  .Press(kReboot)
                                  .DoubleClick(0)
                                  .Data());

    DeviceReply second;
    second.serial = "B2";
    second.name = "机房-2";
    Write(dir / "duplicates_and_results",
          ReceiveSeed()
              .Datagram(info, device)
              .Datagram(info, Address(192, 168, 1, 255))
              .Datagram(second.Encode(kSession), Address(10, 0, 0, 5))
              .Datagram(ui_test::ResultReply(0xF002, kSession, "bad password"), device)
              .Datagram(ui_test::ResultReply(0xF004, kSession, ""), device)
              .Select(1)
              .Press(kModify)
              .Data());

    Write(dir / "result_flag_set", ReceiveSeed(kFlagResultShown)
                                       .Datagram(ui_test::ResultReply(0xF004, kSession, ""), device)
                                       .Press(kReboot)
                                       .Press(kModify)
                                       .Data());

    const Bytes header = ui_test::Header(0xF001, kSession, 36);
    Write(dir / "malformed",
          ReceiveSeed()
              .Datagram(Bytes{}, device)
              .Datagram(Bytes(header.begin(), header.begin() + 35), device)
              .Datagram(ui_test::Header(0xF001, kSession + 1, 36, 7), device)
              .Datagram(WithByte(ui_test::Header(0xF001, kSession, 36, 7), 0, 'X'), device)
              .Datagram(ui_test::Header(0xF001, kSession, 36, 7), device)
              .Datagram(ui_test::Header(2, kSession, 36), device)
              .Datagram(ui_test::Header(0x1F001, kSession, 36), device)
              .Data());

    DeviceReply skipping;
    skipping.serial = "FOUR";
    skipping.nics = {Nic{"lo", "0.0.0.0", "", ""}, Nic{"a", "1.1.1.1", "255.0.0.0", ""},
                     Nic{"b", "2.2.2.2", "", ""}, Nic{"c", "3.3.3.3", "", ""}};
    skipping.nics[2].flag[0] = 1;  // little-endian 1: automatic
    Write(dir / "four_interfaces", ReceiveSeed()
                                       .Datagram(skipping.Encode(kSession), device)
                                       .Select(0)
                                       .Press(kAutoRow1)
                                       .Press(kDnsAuto)
                                       .Press(kModify)
                                       .Data());

    DeviceReply unterminated;
    unterminated.serial = std::string(32, 'S');
    unterminated.type = std::string(32, 'T');
    unterminated.firmware = std::string(20, 'F');
    unterminated.upgrade = std::string(20, 'U');
    unterminated.dns1 = std::string(20, '1');
    unterminated.nics = {Nic{std::string(20, 'n'), std::string(20, '9'), "", ""}};
    Write(dir / "unterminated_texts", ReceiveSeed()
                                          .Datagram(unterminated.Encode(kSession), device)
                                          .Select(0)
                                          .Press(kReboot)
                                          .Press(kModify)
                                          .Data());

    DeviceReply many;
    many.serial = "MANY";
    many.nics = {Nic{"e", "4.4.4.4", "", ""}};
    many.countOverride = 100000;
    Write(dir / "count_beyond_buffer", ReceiveSeed()
                                           .Long(many.Encode(kSession), device, 65536 + 88 * 4)
                                           .Select(0)
                                           .Press(kModify)
                                           .Data());

    DeviceReply negative;
    negative.serial = "NEG";
    negative.countOverride = -1;
    ReceiveSeed several;
    several.Datagram(negative.Encode(kSession), Address(0, 0, 0, 0));
    for (std::uint8_t i = 0; i < 5; ++i) {
        DeviceReply d = TwoInterfaces();
        d.serial = "D" + std::to_string(i);
        several.Datagram(d.Encode(kSession), Address(198, 51, 100, static_cast<std::uint8_t>(i)));
    }
    several.Press(kReboot).Select(5).DoubleClick(3).Select(0xFF).Press(kModify);
    Write(dir / "several_devices", several.Data());
}

// fuzz_requests inputs.
class RequestsSeed {
  public:
    RequestsSeed(std::uint32_t session, std::uint32_t address) {
        input_.Raw32(session);
        input_.Raw32(address);
    }
    RequestsSeed& Row(bool checked, std::u16string_view name, std::u16string_view ip,
                      std::u16string_view mask, std::u16string_view gateway) {
        input_.Byte(checked ? fuzz::requests::kFlagChecked : 0);
        input_.Text(name);
        input_.Text(ip);
        input_.Text(mask);
        input_.Text(gateway);
        return *this;
    }
    RequestsSeed& Dns(bool checked, std::u16string_view preferred, std::u16string_view alternate) {
        input_.Byte(checked ? fuzz::requests::kFlagChecked : 0);
        input_.Text(preferred);
        input_.Text(alternate);
        return *this;
    }
    RequestsSeed& Credentials(std::u16string_view user, std::u16string_view password,
                              std::u16string_view typedId) {
        input_.Text(user);
        input_.Text(password);
        input_.Text(typedId);
        return *this;
    }
    // The block and entries of a device-information reply (its bytes after the header).
    RequestsSeed& Record(const DeviceReply& device) {
        const Bytes reply = device.Encode(kSession);
        input_.Byte(static_cast<std::uint8_t>(device.nics.size()));
        input_.Bytes(std::span(reply).subspan(36));
        return *this;
    }
    RequestsSeed& Tail(std::uint16_t limit, const std::string& text) {
        input_.Le16(limit);
        input_.Bytes(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
        return *this;
    }
    const std::string& Data() const { return input_.Data(); }

  private:
    InputWriter input_;
};

void WriteRequestsSeeds(const std::filesystem::path& dir) {
    const std::uint32_t device = Address(192, 168, 1, 20);
    Write(dir / "plain", RequestsSeed(kSession, device)
                             .Row(false, u"eth0", u"192.168.1.20", u"255.255.255.0", u"192.168.1.1")
                             .Row(true, u"wlan0", u"10.0.0.2", u"255.0.0.0", u"10.0.0.1")
                             .Row(false, u"", u"", u"", u"")
                             .Dns(false, u"8.8.8.8", u"8.8.4.4")
                             .Credentials(u"admin", u"pw", u"K7Q2X9")
                             .Record(TwoInterfaces())
                             .Tail(19, "plain text")
                             .Data());

    DeviceReply unterminated = TwoInterfaces();
    unterminated.serial = std::string(32, 'S');
    unterminated.name = std::string(192, 'N');
    // 19 bytes of GBK ending in the first byte of a pair cut by the field's last byte.
    const std::string gbk =
        "\xcd\xf8\xbf\xa8\xcd\xf8\xbf\xa8\xcd\xf8\xbf\xa8\xcd\xf8\xbf\xa8"
        "abc\xcd\xf8";
    Write(dir / "boundaries", RequestsSeed(0xFFFFFFFF, Address(255, 255, 255, 255))
                                  .Row(false, u"", u"", u"", u"")
                                  .Row(false, u"", u"", u"", u"")
                                  .Row(true, u"无线网卡无线网卡无线网卡", u"1234567890123456789",
                                       u"12345678901234567890", u"\xd800x")
                                  .Dns(true, u"网关网关网关网关网关", u"")
                                  .Credentials(u"用户名用户名用户名用户名", u"0123456789012345678",
                                               u"0123456789012345678901234567890")
                                  .Record(unterminated)
                                  .Tail(19, gbk)
                                  .Data());

    // A double-byte code the code page lacks, whose trail byte could open another character.
    Write(dir / "unmapped_pair", RequestsSeed(kSession, device)
                                     .Row(false, u"", u"", u"", u"")
                                     .Row(false, u"", u"", u"", u"")
                                     .Row(false, u"", u"", u"", u"")
                                     .Dns(false, u"", u"")
                                     .Credentials(u"", u"", u"")
                                     .Record(DeviceReply{})
                                     .Tail(2, "\xF8\xA1\xA1\xA1")
                                     .Data());

    Write(dir / "long_tail", RequestsSeed(kSession, device)
                                 .Row(false, u"x", u"", u"", u"")
                                 .Row(false, u"", u"", u"", u"")
                                 .Row(false, u"y", u"", u"", u"")
                                 .Dns(false, u"", u"")
                                 .Credentials(u"a", u"b", u"IP: 1.2.3.4 -->")
                                 .Record(DeviceReply{})
                                 .Tail(1023, std::string(1024, 'a'))
                                 .Data());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus directory>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    WriteReceiveSeeds(dir / "fuzz_receive");
    WriteRequestsSeeds(dir / "fuzz_requests");
    return 0;
}
