#include "protocol/text_conversion.h"

#include <gtest/gtest.h>

#include <string>

#include "protocol/ansi_text.h"

namespace protocol_test {
namespace {

using namespace std::string_view_literals;
using protocol::AnsiToWide;
using protocol::CutAnsiText;
using protocol::Utf8ToAnsi;
using protocol::WideToAnsi;

// 序列号 in code page 936 and in UTF-8.
constexpr std::string_view kSerialLabelGbk = "\xD0\xF2\xC1\xD0\xBA\xC5";
constexpr std::string_view kSerialLabelUtf8 = "\xE5\xBA\x8F\xE5\x88\x97\xE5\x8F\xB7";

TEST(AnsiToWide, ConvertsCodePage936) {
    EXPECT_EQ(AnsiToWide(kSerialLabelGbk), u"序列号");
    EXPECT_EQ(AnsiToWide("K7Q2X9"), u"K7Q2X9");
    EXPECT_EQ(AnsiToWide(""), u"");
}

TEST(AnsiToWide, TextNeedingMoreThan1024UnitsGivesEmpty) {
    EXPECT_EQ(AnsiToWide(std::string(1023, 'a')), std::u16string(1023, u'a'));
    EXPECT_EQ(AnsiToWide(std::string(1024, 'a')), u"");
    EXPECT_EQ(AnsiToWide(std::string(5000, 'a')), u"");
    // Two bytes per character: 1023 characters from 2046 bytes still fit.
    std::string wide;
    for (int i = 0; i < 1023; ++i) {
        wide += "\xD0\xF2";
    }
    EXPECT_EQ(AnsiToWide(wide).size(), 1023u);
    EXPECT_EQ(AnsiToWide(wide + "\xD0\xF2"), u"");
}

TEST(AnsiToWide, StopsAtTheFirstNulAndReplacesACutPair) {
    EXPECT_EQ(AnsiToWide("ab\0cd"sv), u"ab");
    // A field cut in the middle of a double-byte character still converts.
    const std::u16string cut = AnsiToWide("ab\xD0"sv);
    EXPECT_EQ(cut.substr(0, 2), u"ab");
    EXPECT_GT(cut.size(), 2u);
    EXPECT_EQ(cut.find_first_not_of(u'?', 2), std::u16string::npos);
}

TEST(Utf8ToAnsi, NameGoesToCodePage936) {
    EXPECT_EQ(Utf8ToAnsi("Lab-2"), "Lab-2");
    EXPECT_EQ(Utf8ToAnsi(kSerialLabelUtf8), kSerialLabelGbk);
    EXPECT_EQ(Utf8ToAnsi(""), "");
}

TEST(Utf8ToAnsi, CharactersGbkLacksBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToAnsi("\xED\x95\x9C\xEA\xB5\xAD-1"), std::string(2, '?') + "-1");  // 한국-1
    const std::string emoji = Utf8ToAnsi("\xF0\x9F\x98\x80");                         // U+1F600
    EXPECT_FALSE(emoji.empty());
    EXPECT_EQ(emoji.find_first_not_of('?'), std::string::npos) << emoji;
    // A name cut inside a UTF-8 sequence at its field's end still converts.
    const std::string cut = Utf8ToAnsi("ab\xE5\xBA");
    EXPECT_EQ(cut.substr(0, 2), "ab");
    EXPECT_GT(cut.size(), 2u);
    EXPECT_EQ(cut.find_first_not_of('?', 2), std::string::npos) << cut;
}

TEST(WideToAnsi, TypedTextGoesToCodePage936) {
    EXPECT_EQ(WideToAnsi(u"序列号"), kSerialLabelGbk);
    EXPECT_EQ(WideToAnsi(u"admin"), "admin");
    EXPECT_EQ(WideToAnsi(u"한"), "?");
    EXPECT_EQ(WideToAnsi(u""), "");
}

TEST(FieldFit, TwentyByteFieldHoldsNineteenBytesAndTheIdThirtyOne) {
    EXPECT_TRUE(protocol::FitsInField(std::string(19, 'u'), 20));
    EXPECT_FALSE(protocol::FitsInField(std::string(20, 'u'), 20));
    EXPECT_TRUE(protocol::FitsInField(std::string(31, 'd'), 32));
    EXPECT_FALSE(protocol::FitsInField(std::string(32, 'd'), 32));
    // Counted in code page 936 bytes: ten Chinese characters are 20 bytes.
    EXPECT_FALSE(protocol::FitsInField(WideToAnsi(u"一二三四五六七八九十"), 20));
    EXPECT_TRUE(protocol::FitsInField(WideToAnsi(u"一二三四五六七八九"), 20));
}

TEST(CutAnsiText, NeverSplitsADoubleByteCharacter) {
    const struct {
        std::string_view text;
        std::size_t maxBytes;
        std::string_view cut;
    } cases[] = {
        {"eth0", 19, "eth0"},
        {"abcdef", 3, "abc"},
        {kSerialLabelGbk, 6, kSerialLabelGbk},
        {kSerialLabelGbk, 5, "\xD0\xF2\xC1\xD0"},
        {"a\xD0\xF2", 2, "a"},
        {"ab\0cd"sv, 19, "ab"},
        {"\x80xy", 2, "\x80x"},    // 0x80 stands alone in code page 936
        {"ab\xD0", 19, "ab\xD0"},  // a lone lead byte is one byte
        {"\xD0\x30", 1, "\xD0"},   // not followed by a trail byte
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CutAnsiText(c.text, c.maxBytes), c.cut)
            << ::testing::PrintToString(std::string(c.text)) << " max " << c.maxBytes;
    }
    std::string twenty;
    for (int i = 0; i < 10; ++i) {
        twenty += "\xD0\xF2";
    }
    EXPECT_EQ(CutAnsiText("x" + twenty, 19), "x" + twenty.substr(0, 18));
}

}  // namespace
}  // namespace protocol_test
