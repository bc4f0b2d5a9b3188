#include "protocol/list_line.h"

#include <gtest/gtest.h>

#include "byte_fixture.h"
#include "protocol/device_record.h"

namespace protocol_test {
namespace {

using protocol::AddressFromLine;
using protocol::DeviceLineText;
using protocol::NumberedLine;

protocol::DeviceInfo InfoFrom(const Bytes& payload) {
    protocol::CDeviceRecord record;
    protocol::StoreDeviceInfo(record, payload);
    return record.info;
}

TEST(ListLine, ExampleDevice) {
    Bytes payload(584, 0);
    Put(payload, 392, "K7Q2X9");
    Put(payload, 200, "Lab-2");
    Put(payload, 424, "T200");
    Put(payload, 476, "1.2.0");
    Put(payload, 496, "3.1.4");
    Put(payload, 456, "2023-03-15");
    Put(payload, 516, "2024-01-20");

    EXPECT_EQ(NumberedLine(3, DeviceLineText("192.168.1.20", InfoFrom(payload))),
              u"3 IP:192.168.1.20 -->( 序列号:K7Q2X9  名称:Lab-2  类型:T200  固件:1.2.0  "
              u"软件:3.1.4  激活日期:2023-03-15  升级日期:2024-01-20 )");
}

TEST(ListLine, HeaderOnlyReplyGivesEmptyValues) {
    EXPECT_EQ(NumberedLine(1, DeviceLineText("10.0.0.5", InfoFrom(Bytes{}))),
              u"1 IP:10.0.0.5 -->( 序列号:  名称:  类型:  固件:  软件:  激活日期:  升级日期: )");
}

TEST(ListLine, NameIsUtf8AndOtherTextsCodePage936) {
    Bytes payload(584, 0);
    Put(payload, 200, "\xE5\xAE\x9E\xE9\xAA\x8C\xE5\xAE\xA4\xED\x95\x9C");  // 实验室한, UTF-8
    Put(payload, 424, "\xCA\xB5\xD1\xE9");                                  // 实验, GBK
    const std::u16string line = DeviceLineText("1.2.3.4", InfoFrom(payload));
    EXPECT_NE(line.find(u"  名称:实验室?  类型:实验  固件:"), std::u16string::npos);
}

TEST(ListLine, AddressComesBackWhateverTheLineNumber) {
    Bytes payload(584, 0);
    Put(payload, 392, "K7Q2X9");
    const std::u16string text = DeviceLineText("192.168.1.10", InfoFrom(payload));
    for (const int number : {1, 10, 100}) {
        EXPECT_EQ(AddressFromLine(NumberedLine(number, text)), u"192.168.1.10") << number;
    }
    EXPECT_EQ(NumberedLine(10, text).substr(0, 6), u"10 IP:");
}

TEST(ListLine, AddressNeedsBothMarkers) {
    const struct {
        std::u16string_view line;
        std::u16string_view address;
    } cases[] = {
        {u"1 IP: \t10.0.0.5  -->( x", u"10.0.0.5"},
        {u"1 IP:10.0.0.5-->", u"10.0.0.5"},
        {u"1 IP:10.0.0.5 -->( IP:9.9.9.9 -->", u"10.0.0.5"},
        {u"1 IP: -->(", u""},
        {u"1 10.0.0.5 -->( ", u""},
        {u"1 IP:10.0.0.5", u""},
        {u"--> IP:10.0.0.5", u""},
        {u"", u""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AddressFromLine(c.line), c.address);
    }
}

}  // namespace
}  // namespace protocol_test
