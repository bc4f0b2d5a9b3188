// Writes the program's icon, from the pixels the program is built with, into an icon theme:
//   icon_png THEME_DIR NAME   writes THEME_DIR/<width>x<height>/apps/NAME.png
// so that desktops show the icon the window has. Exits non-zero with a message on failure.
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "ui/program_icon.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: icon_png THEME_DIR NAME\n", stderr);
        return 2;
    }
    const win::IconImage icon = ProgramIcon();
    const std::string size = std::to_string(icon.width) + "x" + std::to_string(icon.height);
    const std::filesystem::path folder = std::filesystem::path(argv[1]) / size / "apps";
    std::error_code made;
    std::filesystem::create_directories(folder, made);
    if (made) {
        std::fprintf(stderr, "icon_png: cannot create %s: %s\n", folder.c_str(),
                     made.message().c_str());
        return 1;
    }
    const std::filesystem::path file = folder / (std::string(argv[2]) + ".png");
    // The pixels are RGBA, row by row, as GdkPixbuf takes them.
    GdkPixbuf* pixbuf =
        gdk_pixbuf_new_from_data(icon.rgba.data(), GDK_COLORSPACE_RGB, TRUE, 8, icon.width,
                                 icon.height, icon.width * 4, nullptr, nullptr);
    GError* error = nullptr;
    const gboolean saved = gdk_pixbuf_save(pixbuf, file.c_str(), "png", &error, nullptr);
    g_object_unref(pixbuf);
    if (!saved) {
        std::fprintf(stderr, "icon_png: cannot write %s: %s\n", file.c_str(), error->message);
        g_error_free(error);
        return 1;
    }
    return 0;
}
