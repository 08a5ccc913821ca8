#pragma once
#include <functional>
#include <string_view>

namespace QX::GP {

// Trace output: lines tagged with a channel (usually the reporting class),
// filtered by a level and a per-channel switch. They go to the debugger and
// the event log in the program build and to standard error natively.

// The empty channel always passes; other channels pass unless switched off.
bool isTraceChannelEnabled(std::string_view channel);
void setTraceChannelEnabled(std::string_view channel, bool enabled);

// Lines written with a level above the current one are dropped.
inline constexpr int kTraceError = 0;
inline constexpr int kTraceWarning = 1;
inline constexpr int kTraceInfo = 2;
inline constexpr int kTraceVerbose = 3;
void setTraceLevel(int level);
int getTraceLevel();

// Writes "<channel>: <text>" when the channel is enabled.
void writeTrace(std::string_view channel, std::string_view text);
void writeTrace(int level, std::string_view channel, std::string_view text);

// printf-style writeTrace: the channel is written before the text as above, so
// the format does not repeat it; a trailing newline is dropped.
// traceFormat("USBDevice", "deviceIoControl timed out after %d ms)\n", timeoutMs).
void traceFormat(const char* channel, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Receives every line that passes the filters, in addition to the platform's
// outputs; tests install one to read the trace. Returns the previous sink.
using TraceSink = std::function<void(std::string_view line)>;
TraceSink setTraceSink(TraceSink sink);

}  // namespace QX::GP
