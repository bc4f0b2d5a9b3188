// UTF-8 <-> UTF-16 by hand: no library needed, and the replacement rules are ours.
#include "platform/detail/text_codecs.h"

namespace plat::detail {

namespace {

constexpr char32_t kFirstSupplementary = 0x10000;

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

void AppendUtf16(std::u16string& out, char32_t codePoint) {
    if (codePoint < kFirstSupplementary) {
        out.push_back(static_cast<char16_t>(codePoint));
        return;
    }
    const char32_t offset = codePoint - kFirstSupplementary;
    out.push_back(static_cast<char16_t>(0xD800 + (offset >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (offset & 0x3FF)));
}

void AppendUtf8(std::string& out, char32_t codePoint) {
    if (codePoint < 0x80) {
        out.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < kFirstSupplementary) {
        out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

// How a lead byte starts a sequence: the continuation bytes it needs, its payload bits, and the
// range the first continuation byte must fall in (which rules out overlong forms, surrogates
// and code points above U+10FFFF).
struct LeadByte {
    int continuations;
    char32_t bits;
    unsigned char firstLow;
    unsigned char firstHigh;
};

bool ClassifyLead(unsigned char byte, LeadByte& lead) {
    if (byte >= 0xC2 && byte <= 0xDF) {
        lead = {1, static_cast<char32_t>(byte & 0x1F), 0x80, 0xBF};
    } else if (byte >= 0xE0 && byte <= 0xEF) {
        lead = {2, static_cast<char32_t>(byte & 0x0F),
                static_cast<unsigned char>(byte == 0xE0 ? 0xA0 : 0x80),
                static_cast<unsigned char>(byte == 0xED ? 0x9F : 0xBF)};
    } else if (byte >= 0xF0 && byte <= 0xF4) {
        lead = {3, static_cast<char32_t>(byte & 0x07),
                static_cast<unsigned char>(byte == 0xF0 ? 0x90 : 0x80),
                static_cast<unsigned char>(byte == 0xF4 ? 0x8F : 0xBF)};
    } else {
        return false;
    }
    return true;
}

}  // namespace

std::u16string DecodeUtf8(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte < 0x80) {
            out.push_back(byte);
            ++i;
            continue;
        }
        LeadByte lead{};
        if (!ClassifyLead(byte, lead)) {
            out.push_back(kReplacementUnit);
            ++i;
            continue;
        }
        char32_t codePoint = lead.bits;
        unsigned char low = lead.firstLow;
        unsigned char high = lead.firstHigh;
        std::size_t next = i + 1;
        int taken = 0;
        while (taken < lead.continuations && next < bytes.size()) {
            const auto continuation = static_cast<unsigned char>(bytes[next]);
            if (continuation < low || continuation > high) {
                break;
            }
            codePoint = (codePoint << 6) | (continuation & 0x3Fu);
            low = 0x80;
            high = 0xBF;
            ++next;
            ++taken;
        }
        if (taken < lead.continuations) {
            // The byte that broke the sequence starts afresh.
            out.push_back(kReplacementUnit);
        } else {
            AppendUtf16(out, codePoint);
        }
        i = next;
    }
    return out;
}

std::string EncodeUtf8(std::u16string_view units) {
    std::string out;
    out.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t unit = units[i];
        if (IsHighSurrogate(unit) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) {
            const char32_t codePoint = kFirstSupplementary +
                                       ((static_cast<char32_t>(unit) - 0xD800) << 10) +
                                       (static_cast<char32_t>(units[i + 1]) - 0xDC00);
            AppendUtf8(out, codePoint);
            ++i;
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            out.push_back(static_cast<char>(kReplacementUnit));
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

}  // namespace plat::detail
