// The program: the GTK window, the class library's start-up, then the application object.
#include "afx/afx.h"
#include "ui/quorvel_app.h"
#include "win/gtk/gtk_renderer.h"

CQuorvelApp theApp;

int main(int argc, char** argv) {
    std::unique_ptr<win::Renderer> renderer = win::gtk::CreateRenderer(argc, argv);
    if (!renderer) {
        return 1;  // the renderer said why on standard error
    }
    return AfxWinMain(*renderer, argv[0]);
}
