#pragma push_macro("_WIN32")
#undef _WIN32
#include <gtest/gtest.h>
#pragma pop_macro("_WIN32")
#include <windows.h>

#include "../SignalLayoutProbe.h"
#include "nwl/core/Pane.h"
#include "nwl/core/Signal.h"
#include "nwl/core/Widget.h"

namespace QX::NWL::Testing {
namespace {

// A Win32 unit sees the Windows macros; the shared types must not change
// with them.
TEST(SignalLayoutWin32Test, Win32AndPortableUnitsAgreeOnTheSharedTypes) {
    const tLayout portable = portableLayout();
    EXPECT_EQ(portable.signalSize, sizeof(Signal<bool>));
    EXPECT_EQ(portable.signalAlignment, alignof(Signal<bool>));
    EXPECT_EQ(portable.paneSize, sizeof(Pane));
    EXPECT_EQ(portable.widgetSize, sizeof(Widget));
}

}  // namespace
}  // namespace QX::NWL::Testing
