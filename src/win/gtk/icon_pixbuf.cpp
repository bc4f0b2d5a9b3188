#include "win/gtk/icon_pixbuf.h"

#include <cstddef>
#include <cstring>

#include "win/window.h"

namespace win::gtk {

GdkPixbuf* PixbufFromIcon(HICON icon) {
    const IconImage* image = IconPixels(icon);
    if (image == nullptr || image->width <= 0 || image->height <= 0) {
        return nullptr;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(image->width) * 4;
    if (image->rgba.size() < rowBytes * static_cast<std::size_t>(image->height)) {
        return nullptr;
    }
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, image->width, image->height);
    if (pixbuf == nullptr) {
        return nullptr;
    }
    guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
    const std::size_t stride = static_cast<std::size_t>(gdk_pixbuf_get_rowstride(pixbuf));
    for (int row = 0; row < image->height; ++row) {
        const std::size_t r = static_cast<std::size_t>(row);
        std::memcpy(pixels + r * stride, image->rgba.data() + r * rowBytes, rowBytes);
    }
    return pixbuf;
}

}  // namespace win::gtk
