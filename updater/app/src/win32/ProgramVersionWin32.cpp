#include "uia/Library.h"
#include "updater/app/UpdaterDescription.h"

namespace QX {

bool UpdaterDescription::readProgramVersion(std::string& out) {
    return UIA::getFileVersionString(out);
}

}  // namespace QX
