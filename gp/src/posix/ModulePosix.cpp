#include <unistd.h>

#include <vector>

#include "gp/Module.h"

namespace QX::GP {
namespace {

Path readExecutablePath()
{
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0)
            return Path();
        if (static_cast<std::size_t>(length) < buffer.size())
            return Path(std::string_view(buffer.data(), static_cast<std::size_t>(length)));
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

void* getModuleHandle() { return nullptr; }

const Path& getModuleFilePath()
{
    static const Path path = readExecutablePath();
    return path;
}

}  // namespace QX::GP
