#include "win/gtk/dialog_font.h"

#include <gdk/gdk.h>
#include <pango/pango.h>

#include <algorithm>
#include <array>
#include <map>
#include <tuple>

#include "win/gtk/label_text.h"

namespace win::gtk {
namespace {

// Faces that Windows maps to the system's dialog font (on a Chinese system, a CJK font).
constexpr std::array<const char16_t*, 7> kWindowsDialogFaces = {
    u"MS Shell Dlg", u"MS Shell Dlg 2", u"MS Sans Serif", u"System", u"宋体", u"SimSun", u"Tahoma"};

constexpr const char* kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

using FontKey = std::tuple<std::u16string, int, int, bool>;

}  // namespace

std::string FontFamilyFor(const std::u16string& templateFace) {
    const bool dialogFace = templateFace.empty() ||
                            std::any_of(kWindowsDialogFaces.begin(), kWindowsDialogFaces.end(),
                                        [&](const char16_t* face) { return templateFace == face; });
    return dialogFace ? std::string(kChineseDialogFamily) : Utf8(templateFace);
}

BaseUnits MeasureBaseUnits(const DialogFont& font) {
    static std::map<FontKey, BaseUnits> cache;
    const FontKey key{font.face, font.pointSize, font.weight, font.italic};
    if (auto found = cache.find(key); found != cache.end()) {
        return found->second;
    }

    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family(description, FontFamilyFor(font.face).c_str());
    pango_font_description_set_size(description, std::max(font.pointSize, 1) * PANGO_SCALE);
    // Template weights use the same 100..900 scale as Pango; 0 means "don't care".
    pango_font_description_set_weight(
        description, font.weight > 0 ? static_cast<PangoWeight>(font.weight) : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(description,
                                     font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);

    PangoContext* context = gdk_pango_context_get();
    PangoLayout* layout = pango_layout_new(context);
    pango_layout_set_font_description(layout, description);
    pango_layout_set_text(layout, kAlphabet, -1);
    int width = 0;
    int lineHeight = 0;
    pango_layout_get_pixel_size(layout, &width, &lineHeight);

    // The font height is ascent + descent (the Windows text metric's height), not the line
    // spacing that a layout may add.
    PangoFontMetrics* metrics = pango_context_get_metrics(context, description, nullptr);
    const int height = PANGO_PIXELS(pango_font_metrics_get_ascent(metrics) +
                                    pango_font_metrics_get_descent(metrics));
    pango_font_metrics_unref(metrics);
    g_object_unref(layout);
    g_object_unref(context);
    pango_font_description_free(description);

    const BaseUnits units = BaseUnitsFromMeasurement(width, height > 0 ? height : lineHeight);
    cache.emplace(key, units);
    return units;
}

}  // namespace win::gtk
