#include "CoreTestSupport.h"

#include <gtest/gtest.h>

#include "gp/Region.h"

namespace QX::NWL::Testing {
namespace {

// Regions take their nodes from the process-wide pool.
class RegionPoolEnvironment : public ::testing::Environment {
public:
    void SetUp() override { GP::acquireRegionPool(); }
    void TearDown() override { GP::releaseRegionPool(); }
};

const auto* const kRegionPool = ::testing::AddGlobalTestEnvironment(new RegionPoolEnvironment);

}  // namespace

GP::Region settle(Pane& pane) {
    GP::Region damage;
    pane.getDirtyRegion(damage);
    return damage;
}

}  // namespace QX::NWL::Testing
