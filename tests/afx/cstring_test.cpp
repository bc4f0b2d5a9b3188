// CString: formatting, searching and cutting, the string table.
#include <gtest/gtest.h>

#include "afx/cstring.h"
#include "afx/resources.h"
#include "platform/codepage.h"

namespace {

CString Formatted(const char16_t* format, auto... arguments) {
    CString text;
    text.Format(format, arguments...);
    return text;
}

void ExpectText(const CString& actual, const char16_t* expected) {
    EXPECT_EQ(actual.Str(), expected) << plat::WideToUtf8(actual.Str());
}

TEST(CStringFormat, Conversions) {
    ExpectText(Formatted(u"%d ", 1), u"1 ");
    ExpectText(Formatted(u"%d|%i|%d", -42, 0, 2147483647), u"-42|0|2147483647");
    ExpectText(Formatted(u"[%5d][%-5d][%05d][%+d]", 42, 42, -42, 7), u"[   42][42   ][-0042][+7]");
    ExpectText(Formatted(u"%u %u", 4294967295u, 0u), u"4294967295 0");
    ExpectText(Formatted(u"%x %X %08X %#x", 0xbeefu, 0xbeefu, 0x1Au, 255u),
               u"beef BEEF 0000001A 0xff");
    ExpectText(Formatted(u"%ld %lu %lld", -5L, 6UL, -7LL), u"-5 6 -7");
    ExpectText(Formatted(u"%s\n", u"发送失败"), u"发送失败\n");
    ExpectText(Formatted(u"[%6s][%-6s][%.2s]", u"IP", u"IP", u"IP:1"), u"[    IP][IP    ][IP]");
    ExpectText(Formatted(u"%S|%hs", "abc", "\xcc\xe1\xca\xbe"), u"abc|提示");
    ExpectText(Formatted(u"%c%c", u'序', 'A'), u"序A");
    ExpectText(Formatted(u"100%% %*d", 4, 7), u"100%    7");
    ExpectText(Formatted(u"%s", static_cast<const char16_t*>(nullptr)), u"(null)");
    ExpectText(Formatted(u"%q and a % at the end %"), u"%q and a % at the end %");
}

TEST(CStringFormat, AppendFormatKeepsWhatWasThere) {
    CString text(u"Local port: ");
    text.AppendFormat(u"%d\n", 50000);
    ExpectText(text, u"Local port: 50000\n");
}

TEST(CStringParts, TheAddressBetweenIpAndTheArrow) {
    for (const char16_t* line : {u"1 IP:192.168.1.10 -->( 序列号:A1  名称:x )",
                                 u"100 IP:192.168.1.10 -->( 序列号:IP:  名称:--> )"}) {
        const CString text(line);
        const int ip = text.Find(u"IP:");
        const int arrow = text.Find(u"-->", ip);
        ASSERT_GE(ip, 0);
        ASSERT_GT(arrow, ip);
        CString address = text.Mid(ip + 3, arrow - ip - 3);
        ExpectText(address.Trim(), u"192.168.1.10");
    }
}

TEST(CStringParts, OutOfRangeArgumentsAreClamped) {
    const CString text(u"abcdef");
    ExpectText(text.Mid(2), u"cdef");
    ExpectText(text.Mid(4, 10), u"ef");
    ExpectText(text.Mid(-3, 2), u"ab");
    ExpectText(text.Mid(9), u"");
    ExpectText(text.Left(3), u"abc");
    ExpectText(text.Left(-1), u"");
    ExpectText(text.Right(2), u"ef");
    EXPECT_EQ(text.Find(u"cd"), 2);
    EXPECT_EQ(text.Find(u"cd", 3), -1);
    EXPECT_EQ(text.Find(u'f', 6), -1);
    EXPECT_EQ(text.Find(u"a", 7), -1);
    CString blanks(u" \t\u3000 x y \r\n");
    ExpectText(blanks.Trim(), u"x y");
    CString onlyBlanks(u"   ");
    EXPECT_TRUE(onlyBlanks.Trim().IsEmpty());
}

TEST(CStringBasics, ComparesConcatenatesAndEmpties) {
    CString text(static_cast<const char16_t*>(nullptr));
    EXPECT_TRUE(text.IsEmpty());
    text = u"用户";
    text += u'名';
    text += CString(u"!");
    EXPECT_EQ(text.GetLength(), 4);
    EXPECT_TRUE(text == u"用户名!");
    EXPECT_TRUE(u"用户名!" == text);
    EXPECT_TRUE(text != CString(u"x"));
    ExpectText(u"[" + text + u"]", u"[用户名!]");
    ExpectText(text + u'?', u"用户名!?");
    const char16_t* raw = text;
    EXPECT_EQ(std::u16string(raw), u"用户名!");
    text.Empty();
    EXPECT_EQ(text.GetLength(), 0);
}

TEST(CStringTable, LoadStringFindsRegisteredEntriesOnly) {
    AfxRegisterString(101, u"关于 Quorvel(&A)...");
    CString text(u"old");
    EXPECT_TRUE(text.LoadString(101));
    ExpectText(text, u"关于 Quorvel(&A)...");
    EXPECT_FALSE(text.LoadString(65000));
    EXPECT_TRUE(text.IsEmpty());
}

}  // namespace
