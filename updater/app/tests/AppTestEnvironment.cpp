#include <gtest/gtest.h>

#include "RenderSupport.h"
#include "nwl/core/Library.h"

namespace {

// The widget library started once for every test, with the program's
// resources at hand.
class WidgetLibraryEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        QX::Testing::registerProgramResources();
        QX::NWL::init();
    }
    void TearDown() override { QX::NWL::exit(); }
};

const auto* const kWidgetLibrary = ::testing::AddGlobalTestEnvironment(new WidgetLibraryEnvironment);

}  // namespace
