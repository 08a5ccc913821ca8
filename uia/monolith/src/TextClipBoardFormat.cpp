#include "uia/TextClipBoardFormat.h"

#include <algorithm>
#include <cstring>

#include "gp/Text.h"

namespace QX::UIA {

TextClipBoardFormat::TextClipBoardFormat() : RawDataClipBoardFormat(getTextFormatId()) {}

void TextClipBoardFormat::setText(std::string_view utf8) { text_ = GP::utf8ToWide(utf8); }

std::string TextClipBoardFormat::getText() const { return GP::utf16ToUtf8(text_); }

bool TextClipBoardFormat::setData(const void* bytes, std::size_t byteCount) {
    const std::size_t maxUnits = byteCount / sizeof(char16_t);
    text_.assign(maxUnits, u'\0');
    if (maxUnits > 0)
        std::memcpy(text_.data(), bytes, maxUnits * sizeof(char16_t));
    text_.resize(std::min(text_.find(u'\0'), maxUnits));
    return true;
}

std::size_t TextClipBoardFormat::getDataSize() const {
    return (text_.size() + 1) * sizeof(char16_t);
}

void TextClipBoardFormat::getData(void* destination) const {
    const std::size_t size = getDataSize();
    std::memset(destination, 0, size);
    std::memcpy(destination, text_.data(), std::min(text_.size() * sizeof(char16_t), size));
}

}  // namespace QX::UIA
