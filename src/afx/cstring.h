// CString: the class library's UTF-16 string.
#pragma once

#include <string>

#include "win/types.h"

class CString {
  public:
    CString() = default;
    CString(const char16_t* text);  // null: the empty string
    CString(const char16_t* text, int length);
    CString(char16_t ch, int repeat = 1);
    explicit CString(std::u16string text);

    CString& operator=(const char16_t* text);

    int GetLength() const { return static_cast<int>(text_.size()); }
    bool IsEmpty() const { return text_.empty(); }
    void Empty() { text_.clear(); }
    const char16_t* GetString() const { return text_.c_str(); }
    operator const char16_t*() const { return text_.c_str(); }
    const std::u16string& Str() const { return text_; }
    char16_t GetAt(int index) const { return text_.at(static_cast<std::size_t>(index)); }

    CString& operator+=(const CString& other);
    CString& operator+=(const char16_t* text);
    CString& operator+=(char16_t ch);
    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, const char16_t* b);
    friend CString operator+(const char16_t* a, const CString& b);
    friend CString operator+(const CString& a, char16_t b);

    bool operator==(const CString& other) const { return text_ == other.text_; }
    bool operator==(const char16_t* other) const;
    int Compare(const char16_t* other) const;

    // printf-like: %d %i %u %x %X %c %s (const char16_t*), %S and %hs (const char*, code page
    // 936), %%, with the flags '-' and '0', a width (or '*'), a precision for %s, and the
    // length marks h, l, ll, z.
    void Format(const char16_t* format, ...);
    void AppendFormat(const char16_t* format, ...);

    // The string-table entry `id` (AfxRegisterString); FALSE and empty when there is none.
    win::BOOL LoadString(win::UINT id);

    // Index of the first occurrence at or after `start`, or -1.
    int Find(const char16_t* sub, int start = 0) const;
    int Find(char16_t ch, int start = 0) const;
    // Parts; out-of-range arguments are clamped as the class library does.
    CString Mid(int first, int count) const;
    CString Mid(int first) const;
    CString Left(int count) const;
    CString Right(int count) const;

    // Remove white space (blank, tab, line breaks, ideographic space) and return *this.
    CString& Trim();
    CString& TrimLeft();
    CString& TrimRight();

  private:
    std::u16string text_;
};
