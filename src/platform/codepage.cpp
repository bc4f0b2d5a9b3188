// The code-page calls: argument rules, size queries and buffer limits around the codecs.
#include "platform/codepage.h"

#include <climits>
#include <cstring>
#include <optional>

#include "platform/detail/text_codecs.h"

namespace plat {

namespace {

constexpr char kDefaultChar = '?';

bool IsAnsi(UINT codePage) {
    return codePage == CP_ACP || codePage == kAnsiCodePage;
}

// Writes `converted` into the caller's buffer under the calls' shared rules: size 0 asks for
// the size; a buffer that is too small receives nothing.
template <typename Unit>
int Deliver(const std::basic_string<Unit>& converted, Unit* target, int targetSize) {
    if (converted.size() > static_cast<std::size_t>(INT_MAX)) {
        return 0;
    }
    const int needed = static_cast<int>(converted.size());
    if (targetSize == 0) {
        return needed;
    }
    if (needed > targetSize) {
        return 0;
    }
    std::memcpy(target, converted.data(), converted.size() * sizeof(Unit));
    return needed;
}

template <typename Unit>
std::optional<std::basic_string_view<Unit>> SourceSpan(const Unit* source, int sourceLength) {
    if (source == nullptr || sourceLength == 0 || sourceLength < -1) {
        return std::nullopt;
    }
    if (sourceLength == -1) {
        return std::basic_string_view<Unit>(source, std::char_traits<Unit>::length(source) + 1);
    }
    return std::basic_string_view<Unit>(source, static_cast<std::size_t>(sourceLength));
}

}  // namespace

int MultiByteToWideChar(UINT codePage, DWORD /*flags*/, const char* source, int sourceLength,
                        char16_t* target, int targetUnits) {
    const auto span = SourceSpan(source, sourceLength);
    if (!span || targetUnits < 0 || (targetUnits > 0 && target == nullptr)) {
        return 0;
    }
    std::u16string converted;
    if (codePage == CP_UTF8) {
        converted = detail::DecodeUtf8(*span);
    } else if (IsAnsi(codePage)) {
        converted = detail::DecodeGbk(*span);
    } else {
        return 0;
    }
    return Deliver(converted, target, targetUnits);
}

int WideCharToMultiByte(UINT codePage, DWORD /*flags*/, const char16_t* source, int sourceLength,
                        char* target, int targetBytes, const char* defaultChar,
                        BOOL* usedDefaultChar) {
    const auto span = SourceSpan(source, sourceLength);
    if (!span || targetBytes < 0 || (targetBytes > 0 && target == nullptr)) {
        return 0;
    }
    std::string converted;
    bool replaced = false;
    if (codePage == CP_UTF8) {
        converted = detail::EncodeUtf8(*span);
    } else if (IsAnsi(codePage)) {
        const char replacement =
            defaultChar != nullptr && *defaultChar != '\0' ? *defaultChar : kDefaultChar;
        converted = detail::EncodeGbk(*span, replacement, &replaced);
    } else {
        return 0;
    }
    if (usedDefaultChar != nullptr) {
        *usedDefaultChar = replaced ? TRUE : FALSE;
    }
    return Deliver(converted, target, targetBytes);
}

std::string WideToUtf8(const std::u16string& text) {
    return detail::EncodeUtf8(text);
}

std::u16string Utf8ToWide(const std::string& text) {
    return detail::DecodeUtf8(text);
}

std::u16string AnsiToWideString(const std::string& text) {
    return detail::DecodeGbk(text);
}

std::string WideToAnsiString(const std::u16string& text) {
    return detail::EncodeGbk(text, kDefaultChar, nullptr);
}

}  // namespace plat
