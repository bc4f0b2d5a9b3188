// What follows a sent request: each press lets the first result reply after it show its box,
// and a request the sender could not send is only logged.
#include <chrono>

#include "request_fixture.h"

namespace ui_test {
namespace {

struct PressCase {
    const char* name;
    int button;
    std::uint32_t resultCommand;
};

class ResultAfterPressTest : public RequestFixture,
                             public ::testing::WithParamInterface<PressCase> {};

TEST_P(ResultAfterPressTest, EachPressLetsItsFirstResultShowABox) {
    AddAndSelect(DeviceReply{});
    for (int press = 1; press <= 2; ++press) {
        AnswerCredentials(u"admin", u"secret");
        Click(GetParam().button);
        EXPECT_EQ(network.SentCount(), 256u) << "press " << press;
        network.ClearSent();
        EXPECT_TRUE(ResultShowsBox(GetParam().resultCommand))
            << "the first result after press " << press;
        EXPECT_FALSE(ResultShowsBox(GetParam().resultCommand))
            << "a second result after press " << press;
    }
}

TEST_P(ResultAfterPressTest, ARequestThatCannotBeSentIsOnlyLogged) {
    AddAndSelect(DeviceReply{});
    adapters.SetAddressesError(8);  // the sender cannot read the adapter list
    AnswerCredentials(u"admin", u"secret");
    output.Clear();
    Click(GetParam().button);
    EXPECT_EQ(network.SentCount(), 0u);
    EXPECT_EQ(BoxesShown(), 0);
    const std::string log = output.Debugger();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.find('\n'), log.size() - 1) << "one line: " << log;
}

INSTANTIATE_TEST_SUITE_P(Requests, ResultAfterPressTest,
                         ::testing::Values(PressCase{"Modify", IDC_MODIFY, 0xF002},
                                           PressCase{"Reboot", IDC_REBOOT, 0xF004}),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace ui_test
