#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "nwl/canvas/Canvas.h"
#include "uia/picture/Picture.h"

namespace QX::NWL::Testing {

// A canvas that keeps the text it is asked to draw, with rectangles in pane
// coordinates (the offset applied), and draws nothing.
class RecordingCanvas : public Canvas {
public:
    struct tText {
        std::string text;
        GP::Rect rect;
        std::uint32_t flags;
    };

    std::vector<tText> texts;
    std::vector<GP::Rect> fills;

    void forwardToBuffer(bool) override {}
    void resetClipRect() override {}
    void setClipRect(const GP::Rect&) override {}
    void resetOffset() override { offset_ = {}; }
    void setOffset(const GP::Point& offset) override { offset_ = offset; }
    GP::Point getOffset() const override { return offset_; }
    void setSize(std::int32_t, std::int32_t) override {}
    void clear(std::uint32_t) override {}
    void drawPixel(const GP::Point&, std::uint32_t) override {}
    void drawLine(const GP::Point&, const GP::Point&, std::uint32_t) override {}
    void drawVerticalLine(const GP::Point&, std::int32_t, std::uint32_t) override {}
    void drawHorizontalLine(const GP::Point&, std::int32_t, std::uint32_t) override {}
    void drawLineF(float, float, float, float, std::uint32_t) override {}
    void drawRect(const GP::Rect&, std::uint32_t) override {}
    void fillRectBlended(const GP::Rect& rect, std::uint32_t) override { fills.push_back(moved(rect)); }
    void fillRect(const GP::Rect&, std::uint32_t) override {}
    void invertRect(const GP::Rect&) override {}
    void drawPicture(const GP::Point&, const UIA::Picture&, std::uint32_t, const GP::Rect*, bool) override {}
    void drawLazyPicture(const GP::Point&, const LazyPicture&, std::uint32_t, const GP::Rect*, bool) override {}
    void drawPictureInRect(const GP::Rect&, const UIA::Picture&, std::uint32_t, const GP::Rect*, bool) override {}
    void drawLazyPictureInRect(const GP::Rect&, const LazyPicture&, std::uint32_t, const GP::Rect*, bool) override {}
    void drawDyeMask(const GP::Rect&, std::uint32_t, const UIA::Picture&, std::uint32_t, const GP::Rect*) override {}
    void drawLazyDyeMask(const GP::Rect&, std::uint32_t, const LazyPicture&, std::uint32_t, const GP::Rect*) override {}
    void drawText(std::string_view utf8, const GP::Rect& rect, const UIA::Font&, std::uint32_t, std::uint32_t flags,
                  bool) override
    {
        texts.push_back({std::string(utf8), moved(rect), flags});
    }
    void setScale(float) override {}
    float getScale() const override { return 1.0f; }
    UIA::Picture& getBuffer() override { return buffer_; }
    const std::uint32_t* getPixels() const override { return nullptr; }

private:
    GP::Rect moved(GP::Rect rect) const
    {
        rect.offset(offset_.x, offset_.y);
        return rect;
    }

    GP::Point offset_;
    UIA::Picture buffer_;
};

}  // namespace QX::NWL::Testing
