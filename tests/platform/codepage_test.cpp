#include <gtest/gtest.h>

#include <string>

#include "platform/codepage.h"

namespace {

using plat::CP_ACP;
using plat::CP_UTF8;

std::u16string AnsiToWide(const std::string& bytes) {
    const int needed = plat::MultiByteToWideChar(CP_ACP, 0, bytes.c_str(), -1, nullptr, 0);
    std::u16string text(static_cast<std::size_t>(needed), u'\0');
    EXPECT_EQ(plat::MultiByteToWideChar(CP_ACP, 0, bytes.c_str(), -1, text.data(), needed), needed);
    text.pop_back();  // the terminator
    return text;
}

std::string WideToAnsi(const std::u16string& text) {
    const int needed =
        plat::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(needed), '\0');
    EXPECT_EQ(plat::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, bytes.data(), needed, nullptr,
                                        nullptr),
              needed);
    bytes.pop_back();
    return bytes;
}

std::u16string Utf8ToWide(const std::string& bytes) {
    const int needed = plat::MultiByteToWideChar(CP_UTF8, 0, bytes.c_str(), -1, nullptr, 0);
    std::u16string text(static_cast<std::size_t>(needed), u'\0');
    EXPECT_EQ(plat::MultiByteToWideChar(CP_UTF8, 0, bytes.c_str(), -1, text.data(), needed),
              needed);
    text.pop_back();
    return text;
}

// Code page 936 byte values from the published GBK table.
struct GbkCase {
    const char* bytes;
    std::u16string text;
};

TEST(CodePage, GbkConvertsBothWaysByTheTable) {
    const GbkCase cases[] = {
        {"\xC4\xE3\xBA\xC3", u"你好"},
        {"\xD6\xD0\xCE\xC4", u"中文"},
        {"\xC8\xB7\xB6\xA8", u"确定"},
        {"\x80", u"\u20AC"},
        {"IP:10.0.0.1 \xD6\xD0", u"IP:10.0.0.1 中"},
        {"", u""},
    };
    for (const GbkCase& c : cases) {
        EXPECT_EQ(AnsiToWide(c.bytes), c.text) << c.bytes;
        EXPECT_EQ(WideToAnsi(c.text), c.bytes) << c.bytes;
    }
}

TEST(CodePage, WhatGbkCannotHoldBecomesQuestionMarks) {
    plat::BOOL usedDefault = FALSE;
    const std::u16string text =
        u"a\u0E01b\U0001F600c\xD800"
        u"d";  // Thai, emoji, lone surrogate
    char out[16] = {};
    const int written = plat::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, out, sizeof out,
                                                  nullptr, &usedDefault);
    EXPECT_EQ(std::string(out), "a?b?c?d");
    EXPECT_EQ(written, 8);
    EXPECT_EQ(usedDefault, TRUE);
}

TEST(CodePage, BrokenGbkBytesBecomeQuestionMarksAndConversionGoesOn) {
    EXPECT_EQ(AnsiToWide("ab\xC4"), u"ab?");  // a pair cut at the end of a field
    EXPECT_EQ(AnsiToWide("\xC4"
                         "1\xD6\xD0"),
              u"?1中");  // a lead byte without a valid trail
    // A positive length that ends inside a pair.
    char16_t out[8] = {};
    EXPECT_EQ(plat::MultiByteToWideChar(CP_ACP, 0, "x\xD6\xD0", 2, out, 8), 2);
    EXPECT_EQ(std::u16string(out, 2), u"x?");
}

TEST(CodePage, ADoubleByteCodeTheTableLacksIsOneQuestionMark) {
    // F8 A1 and A1 40 lie in user-defined areas the table leaves empty; their trail bytes must
    // not start the next character.
    EXPECT_EQ(AnsiToWide("\xF8\xA1\xD6\xD0\xCE\xC4"), u"?中文");
    EXPECT_EQ(AnsiToWide("a\xA1\x40\xA1\xA1"), u"a?\u3000");
}

TEST(CodePage, InvalidUtf8BecomesQuestionMarks) {
    struct Case {
        const char* bytes;
        std::u16string text;
    };
    const Case cases[] = {
        {"\xE4\xBD\xA0\xE5\xA5\xBD", u"你好"},
        {"\xF0\x9F\x98\x80", u"\U0001F600"},
        {"ab\xE4\xBD", u"ab?"},    // a sequence cut at the end
        {"\xC0\xAF", u"??"},       // overlong form
        {"\xED\xA0\x80", u"???"},  // an encoded surrogate
        {"\xE4\xBD"
         "A",
         u"?A"},  // a sequence broken by ASCII
        {"\xFF\x80z", u"??z"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8ToWide(c.bytes), c.text) << c.bytes;
    }
}

TEST(CodePage, Utf8RoundTripAndUnpairedSurrogates) {
    const std::u16string text = u"名称 \U0001F600 x";
    EXPECT_EQ(plat::Utf8ToWide(plat::WideToUtf8(text)), text);
    EXPECT_EQ(plat::WideToUtf8(std::u16string(u"a") + char16_t{0xDC00} + u"b"), "a?b");
}

TEST(CodePage, SizeQueriesAndBufferLimits) {
    // Sizes count the terminator.
    EXPECT_EQ(plat::MultiByteToWideChar(CP_ACP, 0, "\xC4\xE3z", -1, nullptr, 0), 3);
    EXPECT_EQ(plat::MultiByteToWideChar(CP_UTF8, 0, "", -1, nullptr, 0), 1);
    EXPECT_EQ(plat::WideCharToMultiByte(CP_ACP, 0, u"你z", -1, nullptr, 0, nullptr, nullptr), 4);
    EXPECT_EQ(plat::WideCharToMultiByte(CP_UTF8, 0, u"你", -1, nullptr, 0, nullptr, nullptr), 4);

    // A buffer one short fails and is not written to.
    char16_t wide[3] = {u'#', u'#', u'#'};
    EXPECT_EQ(plat::MultiByteToWideChar(CP_ACP, 0, "abc", -1, wide, 3), 0);
    EXPECT_EQ(std::u16string(wide, 3), u"###");
    char narrow[4] = {'#', '#', '#', '#'};
    EXPECT_EQ(plat::WideCharToMultiByte(CP_ACP, 0, u"你好", -1, narrow, 4, nullptr, nullptr), 0);
    EXPECT_EQ(std::string(narrow, 4), "####");

    // Bad arguments.
    EXPECT_EQ(plat::MultiByteToWideChar(CP_ACP, 0, nullptr, -1, nullptr, 0), 0);
    EXPECT_EQ(plat::MultiByteToWideChar(CP_ACP, 0, "a", 0, nullptr, 0), 0);
    EXPECT_EQ(plat::MultiByteToWideChar(1252, 0, "a", -1, nullptr, 0), 0);
}

TEST(CodePage, StringConveniencesKeepEmbeddedNuls) {
    const std::string bytes("\xD6\xD0\0z", 4);
    EXPECT_EQ(plat::AnsiToWideString(bytes), std::u16string(u"中\0z", 3));
    EXPECT_EQ(plat::WideToAnsiString(std::u16string(u"中\0z", 3)), bytes);
}

}  // namespace
