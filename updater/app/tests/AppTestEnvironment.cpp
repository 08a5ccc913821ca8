#include <gtest/gtest.h>

#include "gp/Region.h"

namespace {

// Widgets take their region nodes from the process-wide pool.
class RegionPoolEnvironment : public ::testing::Environment {
public:
    void SetUp() override { QX::GP::acquireRegionPool(); }
    void TearDown() override { QX::GP::releaseRegionPool(); }
};

const auto* const kRegionPool = ::testing::AddGlobalTestEnvironment(new RegionPoolEnvironment);

}  // namespace
