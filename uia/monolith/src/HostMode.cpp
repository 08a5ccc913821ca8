#include "uia/Application.h"

namespace QX::UIA {

namespace {
// A standalone program; hosted modes would change it.
constexpr std::uint32_t kHostMode = 0;
}  // namespace

std::uint32_t getHostMode() { return kHostMode; }

}  // namespace QX::UIA
