#include "production/MclLog.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <vector>

extern "C" {
#include <libavutil/log.h>
}

namespace velmora::mcl {

namespace {

// FFmpeg's log callback is one per process. The captures alive at a time are kept in a list;
// every message goes to each of them (two conversions at once count each other's warnings,
// which errs on the side of reporting).
std::mutex RegistryMutex;
std::vector<TLogCapture*> Captures;

void LogCallback(void* avcl, int level, const char* format, va_list args) {
    if (level > AV_LOG_WARNING) return;
    char line[1024];
    int printPrefix = 1;
    va_list copy;
    va_copy(copy, args);
    av_log_format_line2(avcl, level, format, copy, line, sizeof line, &printPrefix);
    va_end(copy);
    std::lock_guard lock(RegistryMutex);
    for (TLogCapture* capture : Captures) capture->Take(level, line);
}

}  // namespace

bool IsBufferWarning(const std::string& line) noexcept {
    // The encoders' rate control says this once per frame that did not fit its buffer; the
    // multiplexer's "buffer underflow st=..." lines follow from the same frames.
    return line.find("rc buffer underflow") != std::string::npos;
}

TLogCapture::TLogCapture() {
    std::lock_guard lock(RegistryMutex);
    if (Captures.empty()) av_log_set_callback(LogCallback);
    Captures.push_back(this);
}

TLogCapture::~TLogCapture() {
    std::lock_guard lock(RegistryMutex);
    std::erase(Captures, this);
    if (Captures.empty()) av_log_set_callback(av_log_default_callback);
}

std::string TLogCapture::LastError() const {
    std::lock_guard lock(FMutex);
    return FLastError;
}

void TLogCapture::Take(int level, const std::string& line) {
    if (IsBufferWarning(line)) ++FBufferWarnings;
    if (level <= AV_LOG_ERROR) {
        std::string text = line;
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        std::lock_guard lock(FMutex);
        FLastError = text;
    }
}

}  // namespace velmora::mcl
