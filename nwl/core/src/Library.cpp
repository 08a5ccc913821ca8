#include "nwl/core/Library.h"

#include <memory>

#include "gp/Assertion.h"
#include "gp/Init.h"
#include "gp/Region.h"
#include "gp/Version.h"
#include "nwl/core/ManagerContainer.h"

namespace QX::NWL {

namespace {

bool initialized = false;
std::unique_ptr<ManagerContainer> container;

// Gives the pool reference back unless released.
class PoolReference {
public:
    PoolReference() { GP::acquireRegionPool(); }
    ~PoolReference()
    {
        if (held_)
            GP::releaseRegionPool();
    }
    PoolReference(const PoolReference&) = delete;
    PoolReference& operator=(const PoolReference&) = delete;
    void keep() { held_ = false; }

private:
    bool held_ = true;
};

}  // namespace

void init()
{
    if (initialized) {
        if (GP::Assertion::fail("init_nwl", 27, nullptr) == 1)
            __builtin_trap();
        return;
    }
    GP::checkVersion(GP::kVersion, GP::kStartupFlags);
    PoolReference pool;
    auto made = std::make_unique<ManagerContainer>();
    container = std::move(made);
    setManagerContainer(container.get());
    pool.keep();
    initialized = true;
}

void exit()
{
    if (!initialized)
        return;
    setManagerContainer(nullptr);
    container.reset();
    GP::releaseRegionPool();
    initialized = false;
}

bool isInitialized() { return initialized; }

}  // namespace QX::NWL
