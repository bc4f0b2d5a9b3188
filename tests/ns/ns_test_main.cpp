// Entry point of every namespace test binary: no test runs outside the private network.
#include <gtest/gtest.h>

#include <cstdio>

#include "ns/private_network_guard.h"

int main(int argc, char** argv) {
    std::string why;
    if (!nstest::InsidePrivateTestNetwork(why)) {
        std::fprintf(stderr, "refusing to run: %s (start it through scripts/netns-run)\n",
                     why.c_str());
        return 1;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
