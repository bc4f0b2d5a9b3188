#include "protocol/text_conversion.h"

#include <array>
#include <vector>

#include "platform/codepage.h"

namespace protocol {

namespace {

// The conversion calls take terminated text; cut at the first NUL and terminate.
std::string Terminated(std::string_view text) {
    return std::string(text.substr(0, text.find('\0')));
}

std::u16string Terminated(std::u16string_view text) {
    return std::u16string(text.substr(0, text.find(u'\0')));
}

}  // namespace

std::string Utf8ToAnsi(std::string_view utf8) {
    const std::string source = Terminated(utf8);
    const int units = plat::MultiByteToWideChar(plat::CP_UTF8, 0, source.c_str(), -1, nullptr, 0);
    if (units <= 0) {
        return {};
    }
    std::vector<char16_t> wide(static_cast<std::size_t>(units) + 1, u'\0');
    if (plat::MultiByteToWideChar(plat::CP_UTF8, 0, source.c_str(), -1, wide.data(), units) <= 0) {
        return {};
    }
    const int bytes =
        plat::WideCharToMultiByte(plat::CP_ACP, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) {
        return {};
    }
    std::vector<char> narrow(static_cast<std::size_t>(bytes) + 1, '\0');
    if (plat::WideCharToMultiByte(plat::CP_ACP, 0, wide.data(), -1, narrow.data(), bytes, nullptr,
                                  nullptr) <= 0) {
        return {};
    }
    return std::string(narrow.data());
}

std::u16string AnsiToWide(std::string_view ansi) {
    const std::string source = Terminated(ansi);
    const int units = plat::MultiByteToWideChar(plat::CP_ACP, 0, source.c_str(), -1, nullptr, 0);
    if (units <= 0 || static_cast<std::size_t>(units) > kAnsiToWideBufferUnits) {
        return {};
    }
    std::array<char16_t, kAnsiToWideBufferUnits> buffer{};
    if (plat::MultiByteToWideChar(plat::CP_ACP, 0, source.c_str(), -1, buffer.data(), units) <= 0) {
        return {};
    }
    return std::u16string(buffer.data());
}

std::string WideToAnsi(std::u16string_view text) {
    const std::u16string source = Terminated(text);
    const int bytes = plat::WideCharToMultiByte(plat::CP_ACP, 0, source.c_str(), -1, nullptr, 0,
                                                nullptr, nullptr);
    if (bytes <= 0) {
        return {};
    }
    std::vector<char> narrow(static_cast<std::size_t>(bytes) + 1, '\0');
    if (plat::WideCharToMultiByte(plat::CP_ACP, 0, source.c_str(), -1, narrow.data(), bytes,
                                  nullptr, nullptr) <= 0) {
        return {};
    }
    return std::string(narrow.data());
}

}  // namespace protocol
