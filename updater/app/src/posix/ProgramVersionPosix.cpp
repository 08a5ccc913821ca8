#include "updater/app/UpdaterDescription.h"

namespace QX {

// The native build carries no version resource.
bool UpdaterDescription::readProgramVersion(std::string& out) {
    out.append("?.??.???");
    return false;
}

}  // namespace QX
