#include "uia/picture/PictureProperties.h"

#include "gp/StorageIO.h"

namespace QX::UIA {

void PictureProperties::setOption(bool option) {
    option_ = option;
    onPropertiesChanged();
}

void PictureProperties::setHorizontal(bool horizontal) {
    orientation_ = horizontal ? kHorizontal : kVertical;
    onPropertiesChanged();
}

void PictureProperties::setOrientation(std::uint32_t orientation) {
    orientation_ = orientation;
    onPropertiesChanged();
}

void PictureProperties::setAnimationCount(std::uint32_t count) {
    animationCount_ = count;
    onPropertiesChanged();
}

void PictureProperties::setFixedVertical(bool fixed) {
    fixedFlags_ = fixed ? (fixedFlags_ | kFixedVertical) : (fixedFlags_ & ~kFixedVertical);
    onPropertiesChanged();
}

void PictureProperties::setFixedHorizontal(bool fixed) {
    fixedFlags_ = fixed ? (fixedFlags_ | kFixedHorizontal) : (fixedFlags_ & ~kFixedHorizontal);
    onPropertiesChanged();
}

void PictureProperties::setFixedTop(std::uint32_t pixels) {
    fixedTop_ = pixels;
    onPropertiesChanged();
}

void PictureProperties::setFixedBottom(std::uint32_t pixels) {
    fixedBottom_ = pixels;
    onPropertiesChanged();
}

void PictureProperties::setFixedLeft(std::uint32_t pixels) {
    fixedLeft_ = pixels;
    onPropertiesChanged();
}

void PictureProperties::setFixedRight(std::uint32_t pixels) {
    fixedRight_ = pixels;
    onPropertiesChanged();
}

bool PictureProperties::readFromStream(GP::StorageIO& reader) {
    std::uint32_t version = 0;
    std::uint8_t option = 0;
    bool complete = reader.readUInt32(version) && reader.readUInt8(option);
    option_ = option != 0;
    for (std::uint32_t* field : {&orientation_, &animationCount_, &fixedFlags_, &fixedTop_, &fixedBottom_,
                                 &fixedLeft_, &fixedRight_}) {
        complete = reader.readUInt32(*field) && complete;
    }
    onPropertiesChanged();
    return complete;
}

bool PictureProperties::writeToStream(GP::StorageIO& writer) {
    bool complete = writer.writeUInt32(1) && writer.writeUInt8(option_ ? 1 : 0);
    for (std::uint32_t field : {orientation_, animationCount_, fixedFlags_, fixedTop_, fixedBottom_, fixedLeft_,
                                fixedRight_}) {
        complete = writer.writeUInt32(field) && complete;
    }
    return complete;
}

PictureProperties::tBorders PictureProperties::getEffectiveBorders() const {
    tBorders borders;
    if (fixedFlags_ & kFixedHorizontal) {
        borders.left = fixedLeft_;
        borders.right = fixedRight_;
    }
    if (fixedFlags_ & kFixedVertical) {
        borders.top = fixedTop_;
        borders.bottom = fixedBottom_;
    }
    return borders;
}

void PictureProperties::copyPropertiesFrom(const PictureProperties& other) {
    option_ = other.option_;
    orientation_ = other.orientation_;
    animationCount_ = other.animationCount_;
    fixedFlags_ = other.fixedFlags_;
    fixedTop_ = other.fixedTop_;
    fixedBottom_ = other.fixedBottom_;
    fixedLeft_ = other.fixedLeft_;
    fixedRight_ = other.fixedRight_;
    onPropertiesChanged();
}

}  // namespace QX::UIA
