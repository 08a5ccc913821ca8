#pragma once
#include <string>
#include <string_view>

#include "uia/ClipBoardFormat.h"

namespace QX::UIA {

// UTF-16 text in the system's Unicode text format.
class TextClipBoardFormat : public RawDataClipBoardFormat {
public:
    TextClipBoardFormat();

    void setText(std::string_view utf8);
    std::string getText() const;
    const std::u16string& getWideText() const { return text_; }

    // Takes units up to the first NUL or the end of the bytes.
    bool setData(const void* bytes, std::size_t byteCount) override;
    void getData(void* destination) const override;
    // The units and a terminating NUL.
    std::size_t getDataSize() const override;

private:
    std::u16string text_;
};

}  // namespace QX::UIA
