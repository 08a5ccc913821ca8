#include "gp/FileStorage.h"

namespace QX::GP {

bool FileContainerStorage::open(const Path& containerPath, const std::string& subPath)
{
    error_ = "File containers are not supported: cannot open \"" + subPath + "\" in \"" +
             containerPath.toString() + "\"";
    return false;
}

}  // namespace QX::GP
