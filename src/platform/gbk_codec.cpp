// Code page 936 through glibc's iconv, one character at a time past anything it refuses, so a
// cut double-byte pair or an unmappable character never stops the conversion.
#include <iconv.h>

#include <bit>
#include <cerrno>
#include <cstring>

#include "platform/detail/text_codecs.h"

namespace plat::detail {

namespace {

constexpr const char* kGbkName = "CP936";
constexpr const char* kUtf16Name =
    std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);
constexpr std::size_t kIconvError = static_cast<std::size_t>(-1);

// iconv descriptors carry state and are not safe to share: one pair per thread, opened on
// first use.
class Converter {
  public:
    Converter(const char* to, const char* from) : descriptor_(iconv_open(to, from)) {}
    ~Converter() {
        if (descriptor_ != kNoConverter) {
            iconv_close(descriptor_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Ready() const { return descriptor_ != kNoConverter; }

    // Converts as much as it can; returns false with errno set where it had to stop.
    bool Run(const char*& in, std::size_t& inLeft, std::string& out) {
        char chunk[512];
        while (inLeft > 0) {
            char* inPointer = const_cast<char*>(in);
            char* outPointer = chunk;
            std::size_t outLeft = sizeof chunk;
            const std::size_t result =
                iconv(descriptor_, &inPointer, &inLeft, &outPointer, &outLeft);
            const int savedErrno = errno;
            in = inPointer;
            out.append(chunk, sizeof chunk - outLeft);
            if (result != kIconvError) {
                continue;
            }
            if (savedErrno == E2BIG) {
                continue;
            }
            iconv(descriptor_, nullptr, nullptr, nullptr, nullptr);
            errno = savedErrno;
            return false;
        }
        return true;
    }

  private:
    iconv_t descriptor_;
};

Converter& GbkToUtf16() {
    thread_local Converter converter(kUtf16Name, kGbkName);
    return converter;
}

Converter& Utf16ToGbk() {
    thread_local Converter converter(kGbkName, kUtf16Name);
    return converter;
}

std::u16string BytesToUnits(const std::string& bytes) {
    std::u16string units(bytes.size() / sizeof(char16_t), u'\0');
    std::memcpy(units.data(), bytes.data(), units.size() * sizeof(char16_t));
    return units;
}

// The byte ranges of a double-byte character in code page 936.
bool IsLeadByte(char byte) {
    const auto value = static_cast<unsigned char>(byte);
    return value >= 0x81 && value <= 0xFE;
}
bool IsTrailByte(char byte) {
    const auto value = static_cast<unsigned char>(byte);
    return value >= 0x40 && value <= 0xFE && value != 0x7F;
}

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

std::u16string DecodeGbk(std::string_view bytes) {
    Converter& converter = GbkToUtf16();
    if (!converter.Ready()) {
        // Without the code page only ASCII can be trusted.
        std::u16string out;
        for (char byte : bytes) {
            const auto value = static_cast<unsigned char>(byte);
            out.push_back(value < 0x80 ? value : kReplacementUnit);
        }
        return out;
    }
    std::string converted;
    std::u16string out;
    const char* in = bytes.data();
    std::size_t inLeft = bytes.size();
    while (!converter.Run(in, inLeft, converted)) {
        out += BytesToUnits(converted);
        converted.clear();
        out.push_back(kReplacementUnit);
        if (errno == EINVAL) {
            break;  // a lead byte with nothing after it
        }
        // A lead and a trail byte are one character even where the table has none (the
        // user-defined areas): taking the trail byte as the start of the next character would
        // garble the rest of the text.
        const std::size_t skip = inLeft >= 2 && IsLeadByte(in[0]) && IsTrailByte(in[1]) ? 2 : 1;
        in += skip;
        inLeft -= skip;
    }
    out += BytesToUnits(converted);
    return out;
}

std::string EncodeGbk(std::u16string_view units, char replacement, bool* usedReplacement) {
    if (usedReplacement != nullptr) {
        *usedReplacement = false;
    }
    Converter& converter = Utf16ToGbk();
    std::string out;
    const char* in = reinterpret_cast<const char*>(units.data());
    std::size_t inLeft = units.size() * sizeof(char16_t);
    if (!converter.Ready()) {
        for (char16_t unit : units) {
            out.push_back(unit < 0x80 ? static_cast<char>(unit) : replacement);
        }
        return out;
    }
    while (!converter.Run(in, inLeft, out)) {
        out.push_back(replacement);
        if (usedReplacement != nullptr) {
            *usedReplacement = true;
        }
        if (inLeft < sizeof(char16_t)) {
            break;
        }
        char16_t unit;
        std::memcpy(&unit, in, sizeof unit);
        std::size_t skip = sizeof(char16_t);
        if (IsHighSurrogate(unit) && inLeft >= 2 * sizeof(char16_t)) {
            char16_t nextUnit;
            std::memcpy(&nextUnit, in + sizeof(char16_t), sizeof nextUnit);
            if (IsLowSurrogate(nextUnit)) {
                skip = 2 * sizeof(char16_t);
            }
        }
        in += skip;
        inLeft -= skip;
    }
    return out;
}

}  // namespace plat::detail
