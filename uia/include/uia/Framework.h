#pragma once
#include <cstdint>

namespace QX::UIA {

// The framework's version and the flags its callers pass.
inline constexpr std::uint32_t kFrameworkVersion = 0x4010000;
inline constexpr std::uint32_t kFrameworkFlags = 0xF0001;

// Starts the framework once for the process (after the foundation library):
// checks the caller's version and flags, builds the key tables and the
// cursor table, registers the window classes and creates the asynchronous
// event window. On failure, or when a step throws, it shuts down what it
// had done and answers false.
bool initializeLibraryOrThrow(std::uint32_t version, std::uint32_t flags);
// The steps of the start, without the clean-up.
bool initializeLibrary(std::uint32_t version, std::uint32_t flags);
// Undoes the start; every step is guarded, so it is safe after a partial
// start and a second time.
void shutdownLibrary();
bool isLibraryInitialized();
bool areKeyTablesReady();

namespace DETAIL {
// The platform's part of the start and the stop.
bool buildPlatformKeyTables();
bool registerPlatformWindowClasses();
bool arePlatformWindowClassesRegistered();
void unregisterPlatformWindowClasses();
bool isPlatformCursorTableLoaded();
void loadPlatformCursorTable();
void unloadPlatformCursorTable();
bool createPlatformAsyncEventWindow();
void destroyPlatformAsyncEventWindow();
}  // namespace DETAIL

}  // namespace QX::UIA
