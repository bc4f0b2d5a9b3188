// Diagnostic outputs: the debugger output (written to standard error here) and standard output.
// Each write reaches its sink as one piece, in call order; standard output is flushed after each
// write. Tests capture both with CaptureOutput.
#pragma once

#include <string>
#include <vector>

#include "platform/types.h"

namespace plat {

void OutputDebugStringA(const char* text);
void OutputDebugStringW(const char16_t* text);
// printf to standard output. Returns the number of bytes written.
int printf(const char* format, ...) __attribute__((format(printf, 1, 2)));

enum class OutputChannel { Debugger, StandardOutput };

struct OutputPiece {
    OutputChannel channel;
    std::string text;  // UTF-8 (wide debugger texts are converted)
};

// While one lives, every piece goes into it instead of to the process's outputs.
class CaptureOutput {
  public:
    CaptureOutput();
    ~CaptureOutput();
    CaptureOutput(const CaptureOutput&) = delete;
    CaptureOutput& operator=(const CaptureOutput&) = delete;

    std::vector<OutputPiece> Pieces() const;
    std::string Debugger() const;        // all debugger pieces joined
    std::string StandardOutput() const;  // all standard-output pieces joined
    void Clear();
};

}  // namespace plat
