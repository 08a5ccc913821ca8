#pragma once
#include <cstdint>

namespace QX::GP {
class StorageIO;
}

namespace QX::UIA {

// How a picture is used when drawn: whether its alpha channel matters,
// whether it is a strip of animation frames (and in which direction) and
// which borders stay fixed when it is drawn into a larger rectangle.
class PictureProperties {
public:
    static constexpr std::uint32_t kVertical = 1;
    static constexpr std::uint32_t kHorizontal = 2;
    // fixedFlags bits.
    static constexpr std::uint32_t kFixedVertical = 1;    // top and bottom borders
    static constexpr std::uint32_t kFixedHorizontal = 2;  // left and right borders

    PictureProperties() = default;
    PictureProperties(const PictureProperties&) = default;
    PictureProperties& operator=(const PictureProperties&) = default;
    virtual ~PictureProperties() = default;

    virtual void setOption(bool option);
    virtual void setHorizontal(bool horizontal);
    virtual void setOrientation(std::uint32_t orientation);
    virtual void setAnimationCount(std::uint32_t count);
    virtual void setFixedVertical(bool fixed);
    virtual void setFixedHorizontal(bool fixed);
    virtual void setFixedTop(std::uint32_t pixels);
    virtual void setFixedBottom(std::uint32_t pixels);
    virtual void setFixedLeft(std::uint32_t pixels);
    virtual void setFixedRight(std::uint32_t pixels);
    // Stream form: u32 version (1), u8 option, then orientation,
    // animationCount, fixedFlags and the four borders as u32. Both answer
    // false when the storage did not take or give every byte.
    virtual bool readFromStream(GP::StorageIO& reader);
    virtual bool writeToStream(GP::StorageIO& writer);
    virtual void onPropertiesChanged() {}

    // True when some pixel is not opaque.
    bool getOption() const { return option_; }
    std::uint32_t getOrientation() const { return orientation_; }
    // Any orientation other than vertical counts as horizontal.
    bool isHorizontal() const { return orientation_ != kVertical; }
    std::uint32_t getAnimationCount() const { return animationCount_; }
    // The number of frames: a count of 0 means one frame.
    std::uint32_t getFrameCount() const { return animationCount_ > 1 ? animationCount_ : 1; }
    std::uint32_t getFixedFlags() const { return fixedFlags_; }
    std::uint32_t getFixedTop() const { return fixedTop_; }
    std::uint32_t getFixedBottom() const { return fixedBottom_; }
    std::uint32_t getFixedLeft() const { return fixedLeft_; }
    std::uint32_t getFixedRight() const { return fixedRight_; }

    // The borders in force: those whose fixed bit is clear count as 0.
    struct tBorders {
        std::uint32_t left = 0;
        std::uint32_t top = 0;
        std::uint32_t right = 0;
        std::uint32_t bottom = 0;
    };
    tBorders getEffectiveBorders() const;

    // Copies every property (used by scaled copies).
    void copyPropertiesFrom(const PictureProperties& other);

private:
    bool option_ = false;
    std::uint32_t orientation_ = kVertical;
    std::uint32_t animationCount_ = 0;
    std::uint32_t fixedFlags_ = 0;
    std::uint32_t fixedTop_ = 0;
    std::uint32_t fixedBottom_ = 0;
    std::uint32_t fixedLeft_ = 0;
    std::uint32_t fixedRight_ = 0;
};

}  // namespace QX::UIA
