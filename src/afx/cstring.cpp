#include "afx/cstring.h"

#include <algorithm>

#include "afx/detail/string_table.h"

namespace {

bool IsWhiteSpace(char16_t ch) {
    return ch == u' ' || ch == u'\t' || ch == u'\n' || ch == u'\r' || ch == u'\v' || ch == u'\f' ||
           ch == u'\u3000';
}

int Clamp(int value, int low, int high) {
    return std::max(low, std::min(value, high));
}

}  // namespace

CString::CString(const char16_t* text) : text_(text != nullptr ? text : u"") {}

CString::CString(const char16_t* text, int length)
    : text_(text != nullptr && length > 0 ? std::u16string(text, static_cast<std::size_t>(length))
                                          : std::u16string()) {}

CString::CString(char16_t ch, int repeat)
    : text_(static_cast<std::size_t>(std::max(repeat, 0)), ch) {}

CString::CString(std::u16string text) : text_(std::move(text)) {}

CString& CString::operator=(const char16_t* text) {
    text_ = text != nullptr ? text : u"";
    return *this;
}

CString& CString::operator+=(const CString& other) {
    text_ += other.text_;
    return *this;
}

CString& CString::operator+=(const char16_t* text) {
    if (text != nullptr) {
        text_ += text;
    }
    return *this;
}

CString& CString::operator+=(char16_t ch) {
    text_ += ch;
    return *this;
}

CString operator+(const CString& a, const CString& b) {
    return CString(a.text_ + b.text_);
}

CString operator+(const CString& a, const char16_t* b) {
    CString result(a);
    result += b;
    return result;
}

CString operator+(const char16_t* a, const CString& b) {
    CString result(a);
    result += b;
    return result;
}

CString operator+(const CString& a, char16_t b) {
    CString result(a);
    result += b;
    return result;
}

bool CString::operator==(const char16_t* other) const {
    return text_ == (other != nullptr ? other : u"");
}

int CString::Compare(const char16_t* other) const {
    return text_.compare(other != nullptr ? other : u"");
}

win::BOOL CString::LoadString(win::UINT id) {
    std::optional<std::u16string> text = afx::detail::LookUpString(id);
    text_ = text.value_or(std::u16string());
    return text.has_value() ? TRUE : FALSE;
}

int CString::Find(const char16_t* sub, int start) const {
    if (sub == nullptr || start < 0 || start > GetLength()) {
        return -1;
    }
    const std::size_t at = text_.find(sub, static_cast<std::size_t>(start));
    return at == std::u16string::npos ? -1 : static_cast<int>(at);
}

int CString::Find(char16_t ch, int start) const {
    if (start < 0 || start > GetLength()) {
        return -1;
    }
    const std::size_t at = text_.find(ch, static_cast<std::size_t>(start));
    return at == std::u16string::npos ? -1 : static_cast<int>(at);
}

CString CString::Mid(int first, int count) const {
    const int from = Clamp(first, 0, GetLength());
    const int length = Clamp(count, 0, GetLength() - from);
    return CString(text_.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(length)));
}

CString CString::Mid(int first) const {
    return Mid(first, GetLength());
}

CString CString::Left(int count) const {
    return Mid(0, count);
}

CString CString::Right(int count) const {
    const int length = Clamp(count, 0, GetLength());
    return Mid(GetLength() - length, length);
}

CString& CString::TrimLeft() {
    const auto first = std::find_if_not(text_.begin(), text_.end(), IsWhiteSpace);
    text_.erase(text_.begin(), first);
    return *this;
}

CString& CString::TrimRight() {
    const auto last = std::find_if_not(text_.rbegin(), text_.rend(), IsWhiteSpace);
    text_.erase(last.base(), text_.end());
    return *this;
}

CString& CString::Trim() {
    TrimRight();
    return TrimLeft();
}
