#include "recipients.h"

#include <gtest/gtest.h>

namespace devsim {
namespace {

TEST(Recipients, FollowsTheDestinationAndTheArrivalInterface) {
    auto placed = [](const char* address, int ifindex) {
        PlacedDevice d;
        d.config.address = ParseAddress(address).value();
        d.ifindex = ifindex;
        return d;
    };
    const std::vector<PlacedDevice> devices = {
        placed("198.51.100.10", 2), placed("198.51.100.11", 2), placed("203.0.113.10", 3),
        placed("198.51.100.12", 0)};  // address on no interface

    struct Case {
        const char* destination;
        int ifindex;
        std::vector<const char*> reached;
    };
    const Case cases[] = {
        {"198.51.100.11", 2, {"198.51.100.11"}},
        {"198.51.100.12", 2, {"198.51.100.12"}},
        {"198.51.100.99", 2, {}},
        {"198.51.100.255", 2, {"198.51.100.10", "198.51.100.11", "198.51.100.12"}},
        {"203.0.113.255", 3, {"203.0.113.10"}},
        {"255.255.255.255", 2, {"198.51.100.10", "198.51.100.11"}},
        {"255.255.255.255", 3, {"203.0.113.10"}},
        {"255.255.255.255", 9, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.destination) + " on " + std::to_string(c.ifindex));
        std::vector<std::string> got;
        for (const PlacedDevice* d :
             Recipients(devices, ParseAddress(c.destination).value(), c.ifindex)) {
            got.push_back(AddressText(d->config.address));
        }
        EXPECT_EQ(got, std::vector<std::string>(c.reached.begin(), c.reached.end()));
    }
}

}  // namespace
}  // namespace devsim
