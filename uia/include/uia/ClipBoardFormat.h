#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace QX::UIA {

// The system's Unicode text and dropped-files formats, and the format of
// this program's internal objects (registered once per process).
std::uint32_t getTextFormatId();
std::uint32_t getFileListFormatId();
std::uint32_t getInternalFormatId();

// Maps a format name to its id: the text and file-list names give the
// system formats, any other name is registered with the system.
std::uint32_t getClipboardFormatId(std::string_view name);

inline constexpr std::string_view kTextFormatName = "orvandel.unicodetext";
inline constexpr std::string_view kFileListFormatName = "orvandel.filelist";

// Data for the clipboard or a drag: a format id and a payload that is
// written into and read from a block of global memory.
class ClipBoardFormat {
public:
    explicit ClipBoardFormat(std::uint32_t formatId) : formatId_(formatId) {}
    virtual ~ClipBoardFormat() = default;
    ClipBoardFormat(const ClipBoardFormat&) = delete;
    ClipBoardFormat& operator=(const ClipBoardFormat&) = delete;

    // Fills the payload from a block; false when the block is unusable.
    virtual bool readFromGlobal(void* globalBlock) = 0;
    // A new block holding the payload, owned by the caller; null on failure.
    virtual void* writeToGlobal() const = 0;

    std::uint32_t getFormatId() const { return formatId_; }

private:
    std::uint32_t formatId_;
};

// A format whose payload is a flat byte copy.
class RawDataClipBoardFormat : public ClipBoardFormat {
public:
    using ClipBoardFormat::ClipBoardFormat;

    bool readFromGlobal(void* globalBlock) override;
    void* writeToGlobal() const override;

    virtual bool setData(const void* bytes, std::size_t byteCount) = 0;
    // Writes exactly getDataSize() bytes.
    virtual void getData(void* destination) const = 0;
    virtual std::size_t getDataSize() const = 0;
};

}  // namespace QX::UIA
