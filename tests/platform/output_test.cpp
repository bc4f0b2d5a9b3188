#include <gtest/gtest.h>

#include "platform/output.h"

namespace {

TEST(Output, CaptureKeepsPiecesInOrderWithTheirChannels) {
    plat::CaptureOutput capture;
    plat::OutputDebugStringA("Broadcast address: ");
    EXPECT_EQ(plat::printf("Local port: %d\n", 50000), 18);
    plat::OutputDebugStringW(u"异常\n");
    plat::OutputDebugStringA(nullptr);

    const std::vector<plat::OutputPiece> pieces = capture.Pieces();
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[0].channel, plat::OutputChannel::Debugger);
    EXPECT_EQ(pieces[0].text, "Broadcast address: ");
    EXPECT_EQ(pieces[1].channel, plat::OutputChannel::StandardOutput);
    EXPECT_EQ(pieces[1].text, "Local port: 50000\n");
    EXPECT_EQ(pieces[2].text, "\xE5\xBC\x82\xE5\xB8\xB8\n");  // UTF-8 of 异常
    EXPECT_EQ(capture.Debugger(), "Broadcast address: \xE5\xBC\x82\xE5\xB8\xB8\n");
    EXPECT_EQ(capture.StandardOutput(), "Local port: 50000\n");

    capture.Clear();
    EXPECT_TRUE(capture.Pieces().empty());
}

TEST(Output, LongFormattedTextIsWhole) {
    plat::CaptureOutput capture;
    const std::string word(5000, 'x');
    plat::printf("[%s]", word.c_str());
    EXPECT_EQ(capture.StandardOutput(), "[" + word + "]");
}

TEST(Output, NewCaptureStartsEmpty) {
    {
        plat::CaptureOutput first;
        plat::OutputDebugStringA("old");
    }
    plat::CaptureOutput second;
    EXPECT_TRUE(second.Pieces().empty());
}

}  // namespace
