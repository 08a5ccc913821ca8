#pragma once

// Start-up and shut-down of the widget library.
namespace QX::NWL {

// Checks the foundation library's version, takes a reference on the region
// pool and creates the manager container. Asserts ("init_nwl") when the
// library is already started; when the container cannot be made the
// reference is given back and the library stays stopped.
void init();
// Deletes the manager container and drops the region-pool reference; does
// nothing when the library is not started.
void exit();
bool isInitialized();

}  // namespace QX::NWL
