#include "WidgetsTestSupport.h"

#include <gtest/gtest.h>

namespace QX::NWL::Testing {
namespace {

// Regions take their nodes from the process-wide pool.
class LibraryEnvironment : public ::testing::Environment {
public:
    void SetUp() override { GP::acquireRegionPool(); }
    void TearDown() override { GP::releaseRegionPool(); }
};

const auto* const kLibrary = ::testing::AddGlobalTestEnvironment(new LibraryEnvironment);

}  // namespace
}  // namespace QX::NWL::Testing
