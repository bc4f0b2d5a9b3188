#include <gtest/gtest.h>

#include "platform/adapters.h"
#include "platform/detail/adapter_grouping.h"
#include "platform/sockets.h"
#include "platform/testing/fakes.h"

namespace {

using namespace plat;
using plat::testing::Ip;

detail::InterfaceEntry V4(const char* label, const char* address, const char* mask,
                          bool loopback = false) {
    return {label, loopback, kAfInet, Ip(address), Ip(mask)};
}

detail::InterfaceEntry NoAddress(const char* label, bool loopback = false) {
    return {label, loopback, 0, 0, 0};
}

detail::InterfaceEntry V6(const char* label) {
    return {label, false, detail::kAfInet6, 0, 0};
}

// As getifaddrs lists them: one entry per interface without address first, then per address.
std::vector<detail::InterfaceEntry> SampleList() {
    return {
        NoAddress("lo", true),
        NoAddress("eth0"),
        NoAddress("wlan0"),
        NoAddress("eth1"),  // down, no address
        V4("lo", "127.0.0.1", "255.0.0.0", true),
        V4("eth0", "192.168.1.77", "255.255.255.0"),
        V4("wlan0", "10.1.2.3", "255.255.0.0"),
        V4("eth0:1", "172.16.5.5", "255.255.0.0"),
        V6("eth0"),
        V4("eth0", "192.168.2.1", "255.255.255.128"),
    };
}

TEST(AdapterGrouping, AddressesGoUnderTheirInterfaceInListOrder) {
    const std::vector<detail::Adapter> adapters = detail::GroupByInterface(SampleList());
    ASSERT_EQ(adapters.size(), 4u);
    EXPECT_EQ(adapters[0].name, "lo");
    EXPECT_EQ(adapters[1].name, "eth0");
    EXPECT_EQ(adapters[2].name, "wlan0");
    EXPECT_EQ(adapters[3].name, "eth1");

    const std::vector<UnicastAddress> eth0 = adapters[1].unicast;
    ASSERT_EQ(eth0.size(), 4u);
    EXPECT_EQ(eth0[0].address, Ip("192.168.1.77"));
    EXPECT_EQ(eth0[1].address, Ip("172.16.5.5"));  // the alias label belongs to eth0
    EXPECT_EQ(eth0[2].family, detail::kAfInet6);
    EXPECT_EQ(eth0[3].address, Ip("192.168.2.1"));
    EXPECT_TRUE(adapters[3].unicast.empty());
}

TEST(AdapterGrouping, AddressListTypesAndFamilyFilter) {
    const auto adapters = detail::GroupByInterface(SampleList());
    const auto isWireless = [](const std::string& name) { return name == "wlan0"; };
    const std::vector<AdapterAddresses> list =
        detail::ToAdapterAddresses(adapters, kAfInet, isWireless);
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].IfType, kIfTypeSoftwareLoopback);
    EXPECT_EQ(list[1].IfType, kIfTypeEthernet);
    EXPECT_EQ(list[2].IfType, 71u);
    EXPECT_EQ(list[3].IfType, kIfTypeEthernet);
    EXPECT_EQ(list[1].AdapterName, "eth0");
    EXPECT_EQ(list[1].FriendlyName, u"eth0");
    EXPECT_EQ(list[1].unicast.size(), 3u);  // IPv6 left out for kAfInet
    for (const UnicastAddress& address : list[1].unicast) {
        EXPECT_EQ(address.family, kAfInet);
    }
    EXPECT_EQ(detail::ToAdapterAddresses(adapters, 0, isWireless)[1].unicast.size(), 4u);
}

TEST(AdapterGrouping, InfoListHasTheMaskOfEachAdaptersFirstAddress) {
    const std::vector<AdapterInfo> info =
        detail::ToAdapterInfo(detail::GroupByInterface(SampleList()));
    ASSERT_EQ(info.size(), 3u);  // eth1 has no IPv4 address
    EXPECT_EQ(info[0].AdapterName, "lo");
    EXPECT_EQ(info[0].firstIpMask, "255.0.0.0");
    EXPECT_EQ(info[1].AdapterName, "eth0");
    EXPECT_EQ(info[1].firstIpMask, "255.255.255.0");
    EXPECT_EQ(info[2].AdapterName, "wlan0");
    EXPECT_EQ(info[2].firstIpMask, "255.255.0.0");
}

// Reading the system's list sends nothing.
TEST(RealAdapters, TwoReadsGiveTheSameOrderAndTheLoopbackAdapter) {
    std::vector<AdapterAddresses> first;
    std::vector<AdapterAddresses> second;
    ASSERT_EQ(RealAdapterService().GetAdaptersAddresses(kAfInet, kGaaFlagIncludePrefix, first), 0u);
    ASSERT_EQ(RealAdapterService().GetAdaptersAddresses(kAfInet, kGaaFlagIncludePrefix, second),
              0u);
    ASSERT_EQ(first.size(), second.size());
    bool sawLoopback = false;
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].AdapterName, second[i].AdapterName);
        EXPECT_EQ(first[i].AdapterName.find(':'), std::string::npos);
        if (first[i].IfType == kIfTypeSoftwareLoopback) {
            sawLoopback = true;
        }
    }
    EXPECT_TRUE(sawLoopback);
}

TEST(FakeAdapters, ScriptedListsAndErrors) {
    plat::testing::FakeAdapters fake;
    fake.AddAdapter("{A}", kIfTypeEthernet, u"以太网", {"192.168.1.77", "10.0.0.1"},
                    "255.255.255.0");
    fake.AddForeignAddress(23);
    fake.AddAdapter("{B}", kIfTypeEthernet, u"B", {"10.1.2.3"}, nullptr);

    std::vector<AdapterAddresses> list;
    ASSERT_EQ(GetAdaptersAddresses(kAfInet, kGaaFlagIncludePrefix, list), 0u);
    ASSERT_EQ(list.size(), 2u);
    ASSERT_EQ(list[0].unicast.size(), 3u);
    EXPECT_EQ(list[0].unicast[1].address, Ip("10.0.0.1"));
    EXPECT_EQ(list[0].unicast[2].family, 23);
    std::vector<AdapterInfo> info;
    ASSERT_EQ(GetAdaptersInfo(info), 0u);
    ASSERT_EQ(info.size(), 1u);
    EXPECT_EQ(info[0].firstIpMask, "255.255.255.0");

    fake.SetAddressesError(kErrorNotEnoughMemory);
    fake.SetInfoError(kErrorNoData);
    list.clear();
    EXPECT_EQ(GetAdaptersAddresses(kAfInet, 0, list), kErrorNotEnoughMemory);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(GetAdaptersInfo(info), kErrorNoData);
    EXPECT_EQ(fake.AddressesCalls(), 2);
    EXPECT_EQ(fake.InfoCalls(), 2);
}

}  // namespace
