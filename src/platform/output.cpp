// Debugger output (standard error here) and standard output, with one capture for tests.
#include "platform/output.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>

#include "platform/codepage.h"

namespace plat {

namespace {

struct Capture {
    std::mutex mutex;
    bool active = false;
    std::vector<OutputPiece> pieces;
};

Capture& TheCapture() {
    static Capture capture;
    return capture;
}

// True when the piece went into a live capture.
bool Captured(OutputChannel channel, const std::string& text) {
    Capture& capture = TheCapture();
    std::lock_guard lock(capture.mutex);
    if (!capture.active) {
        return false;
    }
    capture.pieces.push_back({channel, text});
    return true;
}

void WriteWhole(std::FILE* stream, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stream);
    // A pipe is block-buffered: without this, lines would arrive late and out of order.
    std::fflush(stream);
}

void Emit(OutputChannel channel, const std::string& text) {
    if (Captured(channel, text)) {
        return;
    }
    WriteWhole(channel == OutputChannel::Debugger ? stderr : stdout, text);
}

std::string Joined(const std::vector<OutputPiece>& pieces, OutputChannel channel) {
    std::string joined;
    for (const OutputPiece& piece : pieces) {
        if (piece.channel == channel) {
            joined += piece.text;
        }
    }
    return joined;
}

}  // namespace

void OutputDebugStringA(const char* text) {
    if (text != nullptr) {
        Emit(OutputChannel::Debugger, text);
    }
}

void OutputDebugStringW(const char16_t* text) {
    if (text != nullptr) {
        Emit(OutputChannel::Debugger, WideToUtf8(text));
    }
}

int printf(const char* format, ...) {
    std::va_list arguments;
    va_start(arguments, format);
    std::va_list measuring;
    va_copy(measuring, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, measuring);
    va_end(measuring);
    if (length < 0) {
        va_end(arguments);
        return length;
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, arguments);
    va_end(arguments);
    text.resize(static_cast<std::size_t>(length));
    Emit(OutputChannel::StandardOutput, text);
    return length;
}

CaptureOutput::CaptureOutput() {
    Capture& capture = TheCapture();
    std::lock_guard lock(capture.mutex);
    capture.active = true;
    capture.pieces.clear();
}

CaptureOutput::~CaptureOutput() {
    Capture& capture = TheCapture();
    std::lock_guard lock(capture.mutex);
    capture.active = false;
    capture.pieces.clear();
}

std::vector<OutputPiece> CaptureOutput::Pieces() const {
    Capture& capture = TheCapture();
    std::lock_guard lock(capture.mutex);
    return capture.pieces;
}

std::string CaptureOutput::Debugger() const {
    return Joined(Pieces(), OutputChannel::Debugger);
}

std::string CaptureOutput::StandardOutput() const {
    return Joined(Pieces(), OutputChannel::StandardOutput);
}

void CaptureOutput::Clear() {
    Capture& capture = TheCapture();
    std::lock_guard lock(capture.mutex);
    capture.pieces.clear();
}

}  // namespace plat
