#include "fuzz/request_checks.h"

#include <algorithm>
#include <cstring>

#include "fuzz/check.h"

namespace fuzz {

namespace {

std::uint32_t Be32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) << 24 |
           static_cast<std::uint32_t>(bytes[at + 1]) << 16 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 8 | bytes[at + 3];
}

bool AllZero(std::span<const std::uint8_t> bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; });
}

constexpr char kMagic[] = "AABBCCDD_KAVRO";  // 14 characters, then two zero bytes

}  // namespace

void CheckRequestHeader(std::span<const std::uint8_t> request, std::uint32_t command,
                        std::uint32_t sessionId) {
    FUZZ_CHECK(request.size() >= 36);
    FUZZ_CHECK(std::memcmp(request.data(), kMagic, 14) == 0);
    FUZZ_CHECK(request[14] == 0 && request[15] == 0);
    FUZZ_CHECK(AllZero(request.subspan(16, 4)));
    FUZZ_CHECK(Be32(request, 20) == command);
    FUZZ_CHECK(Be32(request, 24) == sessionId);
    FUZZ_CHECK(Be32(request, 28) == request.size() - 36);
    FUZZ_CHECK(Be32(request, 32) == 0);
}

std::span<const std::uint8_t> FieldText(std::span<const std::uint8_t> request, std::size_t offset,
                                        std::size_t size) {
    const std::span<const std::uint8_t> field = request.subspan(offset, size);
    const auto nul = std::find(field.begin(), field.end(), std::uint8_t{0});
    return field.first(static_cast<std::size_t>(nul - field.begin()));
}

void CheckTextField(std::span<const std::uint8_t> request, std::size_t offset, std::size_t size) {
    FUZZ_CHECK(offset + size <= request.size());
    const std::span<const std::uint8_t> text = FieldText(request, offset, size);
    FUZZ_CHECK(text.size() < size);
    FUZZ_CHECK(AllZero(request.subspan(offset + text.size(), size - text.size())));
}

void CheckModifyRequest(std::span<const std::uint8_t> request, std::uint32_t sessionId,
                        const protocol::CDeviceRecord& selected) {
    FUZZ_CHECK(request.size() >= 460);
    const std::size_t n = Be32(request, 456);
    FUZZ_CHECK(n <= 3);
    FUZZ_CHECK(request.size() == 460 + 88 * n);
    CheckRequestHeader(request, 2, sessionId);

    CheckTextField(request, 36, 20);  // user name
    CheckTextField(request, 56, 20);  // password
    FUZZ_CHECK(
        std::equal(request.begin() + 76, request.begin() + 412, selected.info.bytes.begin() + 200));
    FUZZ_CHECK(Be32(request, 412) <= 1);
    CheckTextField(request, 416, 20);  // preferred DNS
    CheckTextField(request, 436, 20);  // alternate DNS

    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t entry = 460 + 88 * k;
        for (std::size_t text = 0; text < 80; text += 20) {  // name, IP, mask, gateway
            CheckTextField(request, entry + text, 20);
        }
        const std::span<const std::uint8_t> opaque = request.subspan(entry + 80, 4);
        if (k < selected.nics.size()) {
            FUZZ_CHECK(
                std::equal(opaque.begin(), opaque.end(), selected.nics[k].bytes.begin() + 80));
        } else {
            FUZZ_CHECK(AllZero(opaque));
        }
        FUZZ_CHECK(Be32(request, entry + 84) <= 1);
    }
}

void CheckRebootRequest(std::span<const std::uint8_t> request, std::uint32_t sessionId) {
    FUZZ_CHECK(request.size() == 108);
    CheckRequestHeader(request, 4, sessionId);
    CheckTextField(request, 36, 20);  // user name
    CheckTextField(request, 56, 20);  // password
    CheckTextField(request, 76, 32);  // device ID
}

}  // namespace fuzz
