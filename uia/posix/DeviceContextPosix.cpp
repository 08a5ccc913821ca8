#include "uia/DeviceContext.h"

namespace QX::UIA {

// The native build has no screen: a paint message never comes, and a
// drawing context outside one draws nothing.
void DeviceContext::drawPicture(const Picture&, bool) {}

}  // namespace QX::UIA
