#include "win/gtk/label_text.h"

#include "platform/codepage.h"

namespace win::gtk {
namespace {

void AppendEscaped(std::u16string& out, char16_t c) {
    switch (c) {
        case u'<':
            out += u"&lt;";
            break;
        case u'>':
            out += u"&gt;";
            break;
        case u'&':
            out += u"&amp;";
            break;
        case u'\'':
            out += u"&apos;";
            break;
        case u'"':
            out += u"&quot;";
            break;
        default:
            out += c;
    }
}

}  // namespace

std::string Utf8(const std::u16string& text) {
    return plat::WideToUtf8(text);
}

std::string LabelMarkup(const std::u16string& text, bool prefix) {
    std::u16string markup;
    bool underlined = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (prefix && c == u'&') {
            if (i + 1 == text.size()) {
                break;  // a trailing "&" marks nothing and is not shown
            }
            const char16_t next = text[++i];
            if (next == u'&' || underlined) {
                AppendEscaped(markup, next);
            } else {
                // Only the first mnemonic is underlined, as on Windows.
                markup += u"<u>";
                AppendEscaped(markup, next);
                markup += u"</u>";
                underlined = true;
            }
            continue;
        }
        AppendEscaped(markup, c);
    }
    return Utf8(markup);
}

MenuItemText SplitMenuItemText(const std::u16string& text) {
    const std::size_t tab = text.find(u'\t');
    const std::u16string label = text.substr(0, tab);
    std::u16string markup;
    // Shown as it is: escaped for the markup, "_" doubled for the mnemonic syntax.
    const auto appendShown = [&markup](char16_t c) {
        AppendEscaped(markup, c);
        if (c == u'_') {
            markup += u'_';
        }
    };
    bool underlined = false;
    for (std::size_t i = 0; i < label.size(); ++i) {
        const char16_t c = label[i];
        if (c != u'&') {
            appendShown(c);
            continue;
        }
        if (i + 1 == label.size()) {
            break;  // a trailing "&" marks nothing and is not shown
        }
        const char16_t next = label[++i];
        if (next == u'&' || next == u'_' || underlined) {
            appendShown(next);
        } else {
            markup += u"<u>_";
            AppendEscaped(markup, next);
            markup += u"</u>";
            underlined = true;
        }
    }
    MenuItemText result;
    result.mnemonicMarkup = Utf8(markup);
    if (tab != std::u16string::npos) {
        result.accelerator = Utf8(text.substr(tab + 1));
    }
    return result;
}

}  // namespace win::gtk
