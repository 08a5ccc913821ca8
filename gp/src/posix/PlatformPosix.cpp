// The native build's stand-ins for the Win32 services: standard error for
// trace and message boxes, clock_gettime, getrandom and POSIX file queries.
#include <sys/random.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "../common/Platform.h"

namespace QX::GP::DETAIL {
namespace {

// The answer of the first button of a set: what pressing Enter gives.
int firstButtonAnswer(int buttons)
{
    switch (buttons) {
    case kButtonsYesNo:
    case kButtonsYesNoCancel: return kResultYes;
    case kButtonsRetryCancel: return kResultRetry;
    case kButtonsAbortRetryIgnore: return kResultAbort;
    default: return kResultNone;
    }
}

}  // namespace

void writePlatformTrace(int, std::string_view line)
{
    std::fprintf(stderr, "%.*s\n", static_cast<int>(line.size()), line.data());
}

int showPlatformMessageBox(const MessageBoxRequest& request)
{
    std::fprintf(stderr, "[%s] %s\n", request.caption.c_str(), request.text.c_str());
    return request.defaultButton != kResultNone ? request.defaultButton
                                                : firstButtonAnswer(request.buttons);
}

void terminateProcess(unsigned exitCode) { std::_Exit(static_cast<int>(exitCode)); }

bool fillRandomBytes(void* buffer, std::size_t size)
{
    auto* bytes = static_cast<unsigned char*>(buffer);
    while (size > 0) {
        const ssize_t got = getrandom(bytes, size, 0);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

std::uint64_t readPerformanceCounter()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1000000000u + static_cast<std::uint64_t>(now.tv_nsec);
}

std::uint64_t readPerformanceFrequency() { return 1000000000u; }

bool pathExists(const std::string& path)
{
    struct stat info{};
    return ::stat(path.c_str(), &info) == 0;
}

bool isDirectory(const std::string& path)
{
    struct stat info{};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool readCurrentDirectory(std::string& path)
{
    std::vector<char> buffer(256);
    while (!::getcwd(buffer.data(), buffer.size())) {
        if (errno != ERANGE || buffer.size() > (1u << 20))
            return false;
        buffer.resize(buffer.size() * 2);
    }
    path = buffer.data();
    return true;
}

std::optional<ResourceBytes> findModuleResource(void*, const ResourceId&, const ResourceId&)
{
    // Natively there are no embedded resources, only registered ones.
    return std::nullopt;
}

}  // namespace QX::GP::DETAIL
