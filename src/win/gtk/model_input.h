// Operator input handed to the model from inside a GTK signal handler. A C++ exception must
// never unwind through GTK's C frames: one that the model lets through is written to the
// debugger output and dropped, and the loop goes on.
#pragma once

#include <exception>

namespace win::gtk {

void ReportEscapedException(const char* what) noexcept;

template <typename Call>
void DeliverToModel(Call&& call) noexcept {
    try {
        call();
    } catch (const std::exception& error) {
        ReportEscapedException(error.what());
    } catch (...) {
        ReportEscapedException("unknown exception");
    }
}

}  // namespace win::gtk
