#pragma once
#include <cstdint>
#include <string_view>

#include "uia/ClipBoardFormat.h"

namespace QX::UIA {

// An object of the running program that can be dragged or put on the
// clipboard; receivers tell its kind by the type id.
class InternalObject {
public:
    explicit InternalObject(std::uint32_t typeId) : typeId_(typeId) {}
    virtual ~InternalObject() = default;

    std::uint32_t getTypeId() const { return typeId_; }

private:
    std::uint32_t typeId_;
};

// The id of an internal type name, a new one when the name is new; the
// first id is the application code plus 1.
std::uint32_t getInternalTypeIdImpl(std::string_view typeName);

// A pointer to an internal object, its type id and the native window the
// drag started in. The payload carries raw pointers, so the format is
// registered under a name that is unique to this process.
class InternalClipBoardFormat : public RawDataClipBoardFormat {
public:
    InternalClipBoardFormat();
    InternalClipBoardFormat(InternalObject* object, void* sourceWindowHandle);

    InternalObject* getObject() const { return object_; }
    std::uint32_t getTypeId() const { return typeId_; }
    void* getSourceWindowHandle() const { return sourceWindowHandle_; }

    // Refuses a block shorter than the payload.
    bool setData(const void* bytes, std::size_t byteCount) override;
    void getData(void* destination) const override;
    std::size_t getDataSize() const override;

private:
    InternalObject* object_ = nullptr;
    std::uint32_t typeId_ = 0;
    void* sourceWindowHandle_ = nullptr;
};

}  // namespace QX::UIA
