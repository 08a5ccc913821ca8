#include "gp/Trace.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "Platform.h"

namespace QX::GP {
namespace {

struct TraceState {
    std::mutex mutex;
    std::set<std::string, std::less<>> disabledChannels;
    TraceSink sink;
};

TraceState& state()
{
    static TraceState* instance = new TraceState;
    return *instance;
}

std::atomic<int> traceLevel{kTraceInfo};

// The caller holds the state's lock.
bool isEnabledLocked(const TraceState& s, std::string_view channel)
{
    return channel.empty() || s.disabledChannels.find(channel) == s.disabledChannels.end();
}

}  // namespace

bool isTraceChannelEnabled(std::string_view channel)
{
    TraceState& s = state();
    std::lock_guard lock(s.mutex);
    return isEnabledLocked(s, channel);
}

void setTraceChannelEnabled(std::string_view channel, bool enabled)
{
    TraceState& s = state();
    std::lock_guard lock(s.mutex);
    if (enabled) {
        auto found = s.disabledChannels.find(channel);
        if (found != s.disabledChannels.end())
            s.disabledChannels.erase(found);
    } else {
        s.disabledChannels.emplace(channel);
    }
}

void setTraceLevel(int level) { traceLevel = level; }
int getTraceLevel() { return traceLevel; }

void writeTrace(std::string_view channel, std::string_view text) { writeTrace(kTraceInfo, channel, text); }

void writeTrace(int level, std::string_view channel, std::string_view text)
{
    if (level > traceLevel)
        return;
    // The channel check and the sink are taken under one lock.
    TraceSink sink;
    {
        TraceState& s = state();
        std::lock_guard lock(s.mutex);
        if (!isEnabledLocked(s, channel))
            return;
        sink = s.sink;
    }
    std::string line;
    line.reserve(channel.size() + text.size() + 2);
    line.append(channel).append(": ").append(text);
    if (!line.empty() && line.back() == '\n')
        line.pop_back();
    DETAIL::writePlatformTrace(level, line);
    if (sink)
        sink(line);
}

void traceFormat(const char* channel, const char* format, ...)
{
    if (!format)
        return;
    std::va_list args;
    va_start(args, format);
    std::va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text;
    if (length > 0) {
        std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        text.assign(buffer.data(), static_cast<std::size_t>(length));
    }
    va_end(args);
    writeTrace(channel ? channel : "", text);
}

TraceSink setTraceSink(TraceSink sink)
{
    TraceState& s = state();
    std::lock_guard lock(s.mutex);
    std::swap(s.sink, sink);
    return sink;
}

}  // namespace QX::GP
