#include "SignalLayoutProbe.h"

#include "nwl/core/Pane.h"
#include "nwl/core/Signal.h"
#include "nwl/core/Widget.h"

namespace QX::NWL::Testing {

tLayout portableLayout() {
    return {sizeof(Signal<bool>), alignof(Signal<bool>), sizeof(Pane), sizeof(Widget)};
}

}  // namespace QX::NWL::Testing
