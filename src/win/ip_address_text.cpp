#include "win/detail/ip_address_text.h"

#include <algorithm>
#include <vector>

namespace win::detail {
namespace {

constexpr int kMaxFieldValue = 255;
constexpr std::size_t kMaxFieldDigits = 3;
constexpr std::size_t kFieldCount = 4;

bool IsDigit(char16_t ch) {
    return ch >= u'0' && ch <= u'9';
}

std::vector<std::u16string_view> SplitAtDots(std::u16string_view text) {
    std::vector<std::u16string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t dot = text.find(u'.', start);
        if (dot == std::u16string_view::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, dot - start));
        start = dot + 1;
    }
}

bool AllBlank(const AddressFields& fields) {
    return std::none_of(fields.begin(), fields.end(), [](const auto& f) { return f.has_value(); });
}

std::u16string Decimal(int value) {
    std::u16string digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
        value /= 10;
    } while (value > 0);
    return digits;
}

}  // namespace

AddressFields ParseAddressFromCode(std::u16string_view text) {
    const std::vector<std::u16string_view> parts = SplitAtDots(text);
    if (parts.size() != kFieldCount) {
        return {};
    }
    AddressFields fields;
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        const std::u16string_view part = parts[i];
        if (part.empty() || part.size() > kMaxFieldDigits ||
            !std::all_of(part.begin(), part.end(), IsDigit)) {
            return {};
        }
        int value = 0;
        for (char16_t ch : part) {
            value = value * 10 + (ch - u'0');
        }
        if (value > kMaxFieldValue) {
            return {};
        }
        fields[i] = value;
    }
    return fields;
}

AddressFields ParseAddressFromOperator(std::u16string_view text) {
    const std::vector<std::u16string_view> parts = SplitAtDots(text);
    AddressFields fields;
    for (std::size_t i = 0; i < kFieldCount && i < parts.size(); ++i) {
        int value = 0;
        std::size_t digits = 0;
        for (char16_t ch : parts[i]) {
            if (IsDigit(ch) && digits < kMaxFieldDigits) {
                value = value * 10 + (ch - u'0');
                ++digits;
            }
        }
        if (digits > 0) {
            fields[i] = std::min(value, kMaxFieldValue);
        }
    }
    return fields;
}

namespace {

// The fields joined by dots; a blank field as `blank` (the empty text for a blank control).
std::u16string JoinFields(const AddressFields& fields, const std::u16string& blank) {
    if (AllBlank(fields)) {
        return {};
    }
    std::u16string text;
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        if (i > 0) {
            text += u'.';
        }
        text += fields[i] ? Decimal(*fields[i]) : blank;
    }
    return text;
}

}  // namespace

std::u16string AddressTextOf(const AddressFields& fields) {
    return JoinFields(fields, u"0");
}

std::u16string AddressDisplayText(const AddressFields& fields) {
    return JoinFields(fields, u"");
}

}  // namespace win::detail
