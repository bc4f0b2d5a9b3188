#include "recipients.h"

namespace devsim {

std::vector<const PlacedDevice*> Recipients(const std::vector<PlacedDevice>& devices,
                                            std::uint32_t destination, int arrivalIfindex) {
    std::vector<const PlacedDevice*> out;
    for (const PlacedDevice& d : devices) {
        const std::uint32_t own = d.config.address;
        const bool reached = destination == kLimitedBroadcast
                                 ? d.ifindex != 0 && d.ifindex == arrivalIfindex
                                 : destination == own || destination == (own | kHostMask);
        if (reached) {
            out.push_back(&d);
        }
    }
    return out;
}

}  // namespace devsim
