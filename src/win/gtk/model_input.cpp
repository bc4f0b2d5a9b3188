#include "win/gtk/model_input.h"

#include <string>

#include "platform/output.h"

namespace win::gtk {

void ReportEscapedException(const char* what) noexcept {
    try {
        const std::string line = std::string("quorvel: input handling failed: ") + what + "\n";
        plat::OutputDebugStringA(line.c_str());
    } catch (...) {
        // Nothing left to report with.
    }
}

}  // namespace win::gtk
