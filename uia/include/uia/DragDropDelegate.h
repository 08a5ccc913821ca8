#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gp/Path.h"
#include "uia/DragDrop.h"

namespace QX::UIA {

class ClipBoardFormat;
class EventTarget;
class InternalObject;
class WindowBase;

// The process-wide provider of drag-and-drop services: questions about the
// data of a drag, and the start of drags of text or internal objects.
class IDragDropDelegate {
public:
    virtual ~IDragDropDelegate() = default;

    // The internal object of the drag when it has this type id, else null.
    virtual InternalObject* getInternalData(DragData* drag, std::uint32_t typeId) = 0;
    virtual bool readFormat(DragData* drag, ClipBoardFormat& format) = 0;
    virtual bool hasInternalData(DragData* drag, std::uint32_t typeId) = 0;
    virtual bool hasFormat(DragData* drag, std::uint32_t formatId) = 0;
    // The system's data object (an IDataObject* in the program build).
    virtual void* getDataObject(DragData* drag) = 0;
    virtual std::optional<std::vector<GP::Path>> getFileList(DragData* drag) = 0;
    virtual std::optional<std::string> getText(DragData* drag) = 0;
    virtual InternalObject* getAnyInternalData(DragData* drag) = 0;
    virtual bool hasText(DragData* drag) = 0;
    virtual bool hasFileList(DragData* drag) = 0;
    virtual std::uint32_t getInternalTypeId(std::string_view typeName) = 0;

    virtual void dragText(std::string_view utf8, std::uint32_t allowedEffects) = 0;
    virtual void dragInternalData(InternalObject* object, WindowBase* source,
                                  std::uint32_t allowedEffects, const DragImage& image) = 0;
    // As dragInternalData; `sourceTarget` receives 1304 when the drag ends.
    virtual void dragInternalDataFromSource(EventTarget* sourceTarget, InternalObject* object,
                                            WindowBase* source, std::uint32_t allowedEffects,
                                            const DragImage& image) = 0;
};

// Drag and drop through the platform (OLE in the program build). The data
// queries are answered from the formats of the drag.
class WindowingDragDropDelegate : public IDragDropDelegate {
public:
    WindowingDragDropDelegate();

    InternalObject* getInternalData(DragData* drag, std::uint32_t typeId) override;
    bool readFormat(DragData* drag, ClipBoardFormat& format) override;
    bool hasInternalData(DragData* drag, std::uint32_t typeId) override;
    bool hasFormat(DragData* drag, std::uint32_t formatId) override;
    void* getDataObject(DragData* drag) override;
    std::optional<std::vector<GP::Path>> getFileList(DragData* drag) override;
    std::optional<std::string> getText(DragData* drag) override;
    InternalObject* getAnyInternalData(DragData* drag) override;
    bool hasText(DragData* drag) override;
    bool hasFileList(DragData* drag) override;
    std::uint32_t getInternalTypeId(std::string_view typeName) override;

    void dragText(std::string_view utf8, std::uint32_t allowedEffects) override;
    void dragInternalData(InternalObject* object, WindowBase* source, std::uint32_t allowedEffects,
                          const DragImage& image) override;
    void dragInternalDataFromSource(EventTarget* sourceTarget, InternalObject* object,
                                    WindowBase* source, std::uint32_t allowedEffects,
                                    const DragImage& image) override;
};

// Drag and drop switched off: every query answers false, null, nothing or
// type id 0, and drags do nothing.
class NOPDragDropDelegate : public IDragDropDelegate {
public:
    InternalObject* getInternalData(DragData*, std::uint32_t) override { return nullptr; }
    bool readFormat(DragData*, ClipBoardFormat&) override { return false; }
    bool hasInternalData(DragData*, std::uint32_t) override { return false; }
    bool hasFormat(DragData*, std::uint32_t) override { return false; }
    void* getDataObject(DragData*) override { return nullptr; }
    std::optional<std::vector<GP::Path>> getFileList(DragData*) override { return std::nullopt; }
    std::optional<std::string> getText(DragData*) override { return std::nullopt; }
    InternalObject* getAnyInternalData(DragData*) override { return nullptr; }
    bool hasText(DragData*) override { return false; }
    bool hasFileList(DragData*) override { return false; }
    std::uint32_t getInternalTypeId(std::string_view) override { return 0; }
    void dragText(std::string_view, std::uint32_t) override {}
    void dragInternalData(InternalObject*, WindowBase*, std::uint32_t, const DragImage&) override {}
    void dragInternalDataFromSource(EventTarget*, InternalObject*, WindowBase*, std::uint32_t,
                                    const DragImage&) override {}
};

std::unique_ptr<IDragDropDelegate> createWindowingDragDropDelegate();

// Installs the delegate and deletes the previous one; null installs a
// NOPDragDropDelegate.
void setDragDropDelegate(std::unique_ptr<IDragDropDelegate> delegate);
// The installed delegate; null before the first installation.
IDragDropDelegate* getDragDropDelegate();

// Forward to the installed delegate (as the no-op one when none is).
bool hasDragFormat(DragData* drag, std::uint32_t formatId);
bool readDragFormat(DragData* drag, ClipBoardFormat& format);
InternalObject* getAnyInternalDragData(DragData* drag);

}  // namespace QX::UIA
