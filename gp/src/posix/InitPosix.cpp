#include <pthread.h>
#include <sys/utsname.h>
#include <unistd.h>

#include "../common/Platform.h"
#include "gp/DeviceNotification.h"

namespace QX::GP::DETAIL {
namespace {

pthread_key_t slotKey;

}  // namespace

bool allocateThreadSlot() { return pthread_key_create(&slotKey, nullptr) == 0; }
void freeThreadSlot() { pthread_key_delete(slotKey); }
void* readThreadSlot() { return pthread_getspecific(slotKey); }
void writeThreadSlot(void* value) { pthread_setspecific(slotKey, value); }

// The native build has no UI language of its own: English.
int readUserUILanguage() { return 0; }

void gatherSystemInfo(SystemInfo& info)
{
    const long processors = sysconf(_SC_NPROCESSORS_ONLN);
    const long pageSize = sysconf(_SC_PAGESIZE);
    const long pages = sysconf(_SC_PHYS_PAGES);
    info.processorCount = processors > 0 ? static_cast<std::uint32_t>(processors) : 1;
    info.pageSize = pageSize > 0 ? static_cast<std::uint32_t>(pageSize) : 4096;
    info.physicalMemory = pages > 0 ? static_cast<std::uint64_t>(pages) * info.pageSize : 0;
    utsname name{};
    if (uname(&name) == 0)
        info.operatingSystem = std::string(name.sysname) + " " + name.release;
}

// Natively there is neither OLE nor device notification.
void startOle() {}
void stopOle() {}
void createDeviceNotificationWindow() {}
void destroyDeviceNotificationWindow() {}

}  // namespace QX::GP::DETAIL

namespace QX::GP {

void* getDeviceNotificationWindow() { return nullptr; }

}  // namespace QX::GP
