#include "uia/InternalClipBoardFormat.h"

#include <cstring>
#include <map>
#include <mutex>
#include <string>

#include "gp/Init.h"

namespace QX::UIA {
namespace {

// The payload as it travels in a global block.
struct tInternalPayload {
    std::uint64_t object;
    std::uint32_t typeId;
    std::uint32_t reserved;
    std::uint64_t sourceWindow;
};
static_assert(sizeof(tInternalPayload) == 24);

}  // namespace

std::uint32_t getInternalTypeIdImpl(std::string_view typeName) {
    static std::mutex mutex;
    static std::map<std::string, std::uint32_t, std::less<>> ids;
    std::lock_guard<std::mutex> lock(mutex);
    if (auto found = ids.find(typeName); found != ids.end())
        return found->second;
    const auto id = static_cast<std::uint32_t>(GP::getApplicationCode() + 1 + ids.size());
    ids.emplace(std::string(typeName), id);
    return id;
}

InternalClipBoardFormat::InternalClipBoardFormat() : RawDataClipBoardFormat(getInternalFormatId()) {}

InternalClipBoardFormat::InternalClipBoardFormat(InternalObject* object, void* sourceWindowHandle)
    : RawDataClipBoardFormat(getInternalFormatId()), object_(object),
      typeId_(object ? object->getTypeId() : 0), sourceWindowHandle_(sourceWindowHandle) {}

bool InternalClipBoardFormat::setData(const void* bytes, std::size_t byteCount) {
    if (!bytes || byteCount < sizeof(tInternalPayload))
        return false;
    tInternalPayload payload;
    std::memcpy(&payload, bytes, sizeof payload);
    object_ = reinterpret_cast<InternalObject*>(static_cast<std::uintptr_t>(payload.object));
    typeId_ = payload.typeId;
    sourceWindowHandle_ = reinterpret_cast<void*>(static_cast<std::uintptr_t>(payload.sourceWindow));
    return true;
}

void InternalClipBoardFormat::getData(void* destination) const {
    const tInternalPayload payload{reinterpret_cast<std::uintptr_t>(object_), typeId_, 0,
                                   reinterpret_cast<std::uintptr_t>(sourceWindowHandle_)};
    std::memcpy(destination, &payload, sizeof payload);
}

std::size_t InternalClipBoardFormat::getDataSize() const { return sizeof(tInternalPayload); }

}  // namespace QX::UIA
