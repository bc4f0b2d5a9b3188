// CString::Format: the printf conversions the tool uses, on UTF-16 text.
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <string>

#include "afx/cstring.h"
#include "platform/codepage.h"

namespace {

enum class Length { Default, Short, Long, LongLong, Size };

struct Conversion {
    bool leftAlign = false;
    bool zeroPad = false;
    bool plus = false;
    bool space = false;
    bool alternate = false;
    int width = 0;
    int precision = -1;
    Length length = Length::Default;
};

std::u16string Digits(unsigned long long value, unsigned base, bool upper) {
    const char16_t* digits = upper ? u"0123456789ABCDEF" : u"0123456789abcdef";
    std::u16string text;
    do {
        text.insert(text.begin(), digits[value % base]);
        value /= base;
    } while (value != 0);
    return text;
}

void Pad(std::u16string& out, const std::u16string& body, const Conversion& conversion,
         std::size_t signLength = 0) {
    const auto width = static_cast<std::size_t>(conversion.width);
    if (body.size() >= width) {
        out += body;
    } else if (conversion.leftAlign) {
        out += body;
        out.append(width - body.size(), u' ');
    } else if (conversion.zeroPad) {
        out += body.substr(0, signLength);
        out.append(width - body.size(), u'0');
        out += body.substr(signLength);
    } else {
        out.append(width - body.size(), u' ');
        out += body;
    }
}

void FormatInteger(std::u16string& out, const Conversion& conversion, bool negative,
                   unsigned long long magnitude, unsigned base, bool upper, bool isSigned) {
    std::u16string number = Digits(magnitude, base, upper);
    if (conversion.precision >= 0) {
        if (conversion.precision == 0 && magnitude == 0) {
            number.clear();
        }
        while (number.size() < static_cast<std::size_t>(conversion.precision)) {
            number.insert(number.begin(), u'0');
        }
    }
    std::u16string sign;
    if (isSigned) {
        sign = negative ? u"-" : conversion.plus ? u"+" : conversion.space ? u" " : u"";
    } else if (conversion.alternate && base == 16 && magnitude != 0) {
        sign = upper ? u"0X" : u"0x";
    }
    Conversion padding = conversion;
    padding.zeroPad = conversion.zeroPad && conversion.precision < 0;
    Pad(out, sign + number, padding, sign.size());
}

long long SignedArgument(va_list& args, Length length) {
    switch (length) {
        case Length::Long:
            return va_arg(args, long);
        case Length::LongLong:
            return va_arg(args, long long);
        case Length::Size:
            return va_arg(args, std::ptrdiff_t);
        case Length::Short:
            return static_cast<short>(va_arg(args, int));
        case Length::Default:
            break;
    }
    return va_arg(args, int);
}

unsigned long long UnsignedArgument(va_list& args, Length length) {
    switch (length) {
        case Length::Long:
            return va_arg(args, unsigned long);
        case Length::LongLong:
            return va_arg(args, unsigned long long);
        case Length::Size:
            return va_arg(args, std::size_t);
        case Length::Short:
            return static_cast<unsigned short>(va_arg(args, unsigned));
        case Length::Default:
            break;
    }
    return va_arg(args, unsigned);
}

int NumberAt(const char16_t*& p) {
    int value = 0;
    while (*p >= u'0' && *p <= u'9') {
        value = value * 10 + (*p - u'0');
        ++p;
    }
    return value;
}

void FormatText(std::u16string& out, const Conversion& conversion, std::u16string text) {
    if (conversion.precision >= 0 && text.size() > static_cast<std::size_t>(conversion.precision)) {
        text.resize(static_cast<std::size_t>(conversion.precision));
    }
    Conversion padding = conversion;
    padding.zeroPad = false;
    Pad(out, text, padding);
}

std::u16string FormatV(const char16_t* format, va_list& args) {
    std::u16string out;
    if (format == nullptr) {
        return out;
    }
    for (const char16_t* p = format; *p != u'\0'; ++p) {
        if (*p != u'%') {
            out += *p;
            continue;
        }
        const char16_t* start = p++;
        Conversion conversion;
        for (;; ++p) {
            if (*p == u'-') {
                conversion.leftAlign = true;
            } else if (*p == u'0') {
                conversion.zeroPad = true;
            } else if (*p == u'+') {
                conversion.plus = true;
            } else if (*p == u' ') {
                conversion.space = true;
            } else if (*p == u'#') {
                conversion.alternate = true;
            } else {
                break;
            }
        }
        if (*p == u'*') {
            conversion.width = va_arg(args, int);
            if (conversion.width < 0) {
                conversion.leftAlign = true;
                conversion.width = -conversion.width;
            }
            ++p;
        } else {
            conversion.width = NumberAt(p);
        }
        if (*p == u'.') {
            ++p;
            if (*p == u'*') {
                conversion.precision = va_arg(args, int);
                ++p;
            } else {
                conversion.precision = NumberAt(p);
            }
        }
        bool narrow = false;
        if (*p == u'h') {
            conversion.length = Length::Short;
            ++p;
            if (*p == u'h') {
                ++p;
            }
        } else if (*p == u'l') {
            conversion.length = Length::Long;
            ++p;
            if (*p == u'l') {
                conversion.length = Length::LongLong;
                ++p;
            }
        } else if (*p == u'z') {
            conversion.length = Length::Size;
            ++p;
        }
        switch (*p) {
            case u'd':
            case u'i': {
                const long long value = SignedArgument(args, conversion.length);
                const unsigned long long magnitude =
                    value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                              : static_cast<unsigned long long>(value);
                FormatInteger(out, conversion, value < 0, magnitude, 10, false, true);
                break;
            }
            case u'u':
                FormatInteger(out, conversion, false, UnsignedArgument(args, conversion.length), 10,
                              false, false);
                break;
            case u'x':
            case u'X':
                FormatInteger(out, conversion, false, UnsignedArgument(args, conversion.length), 16,
                              *p == u'X', false);
                break;
            case u'c':
                FormatText(out, conversion,
                           std::u16string(1, static_cast<char16_t>(va_arg(args, int))));
                break;
            case u'S':
                narrow = true;
                [[fallthrough]];
            case u's':
                if (narrow || conversion.length == Length::Short) {
                    const char* text = va_arg(args, const char*);
                    FormatText(out, conversion,
                               text != nullptr ? plat::AnsiToWideString(text) : u"(null)");
                } else {
                    const char16_t* text = va_arg(args, const char16_t*);
                    FormatText(out, conversion, text != nullptr ? text : u"(null)");
                }
                break;
            case u'%':
                out += u'%';
                break;
            case u'\0':
                out.append(start, p);
                return out;
            default:
                // Not a conversion of ours: shown as written.
                out.append(start, p + 1);
                break;
        }
    }
    return out;
}

}  // namespace

void CString::Format(const char16_t* format, ...) {
    va_list args;
    va_start(args, format);
    text_ = FormatV(format, args);
    va_end(args);
}

void CString::AppendFormat(const char16_t* format, ...) {
    va_list args;
    va_start(args, format);
    text_ += FormatV(format, args);
    va_end(args);
}
