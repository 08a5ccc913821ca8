#pragma once
#include <cstdint>
#include <memory>

#include "nwl/canvas/Canvas.h"
#include "uia/picture/Picture.h"

namespace QX::NWL {

// The canvas the window renders its widget tree into: an off-screen picture
// of the logical size times the scale, presented by the window.
class BackgroundDrawingCanvas : public Canvas {
public:
    // The off-screen picture; it holds straight alpha like every picture.
    class BGDrawBuffer : public UIA::Picture {};

    BackgroundDrawingCanvas();
    ~BackgroundDrawingCanvas() override;

    void forwardToBuffer(bool alphaInUse) override;
    void resetClipRect() override;
    void setClipRect(const GP::Rect& rect) override;
    void resetOffset() override;
    void setOffset(const GP::Point& offset) override;
    GP::Point getOffset() const override;
    void setSize(std::int32_t width, std::int32_t height) override;
    void clear(std::uint32_t colour) override;

    void drawPixel(const GP::Point& point, std::uint32_t colour) override;
    void drawLine(const GP::Point& a, const GP::Point& b, std::uint32_t colour) override;
    void drawVerticalLine(const GP::Point& start, std::int32_t length, std::uint32_t colour) override;
    void drawHorizontalLine(const GP::Point& start, std::int32_t length, std::uint32_t colour) override;
    void drawLineF(float x1, float y1, float x2, float y2, std::uint32_t colour) override;
    void drawRect(const GP::Rect& rect, std::uint32_t colour) override;
    void fillRectBlended(const GP::Rect& rect, std::uint32_t colour) override;
    void fillRect(const GP::Rect& rect, std::uint32_t colour) override;
    void invertRect(const GP::Rect& rect) override;

    void drawPicture(const GP::Point& point, const UIA::Picture& picture, std::uint32_t frame,
                     const GP::Rect* sourceRect, bool blend) override;
    void drawLazyPicture(const GP::Point& point, const LazyPicture& picture, std::uint32_t frame,
                         const GP::Rect* sourceRect, bool blend) override;
    void drawPictureInRect(const GP::Rect& rect, const UIA::Picture& picture, std::uint32_t frame,
                           const GP::Rect* sourceRect, bool blend) override;
    void drawLazyPictureInRect(const GP::Rect& rect, const LazyPicture& picture, std::uint32_t frame,
                               const GP::Rect* sourceRect, bool blend) override;
    void drawDyeMask(const GP::Rect& rect, std::uint32_t colour, const UIA::Picture& picture,
                     std::uint32_t frame, const GP::Rect* sourceRect) override;
    void drawLazyDyeMask(const GP::Rect& rect, std::uint32_t colour, const LazyPicture& picture,
                         std::uint32_t frame, const GP::Rect* sourceRect) override;

    void drawText(std::string_view utf8, const GP::Rect& rect, const UIA::Font& font, std::uint32_t colour,
                  std::uint32_t flags, bool turned) override;

    void setScale(float scale) override;
    float getScale() const override { return scale_; }
    UIA::Picture& getBuffer() override { return *buffer_; }
    const std::uint32_t* getPixels() const override { return buffer_->getPixels(); }

    std::int32_t getWidth() const { return width_; }
    std::int32_t getHeight() const { return height_; }

private:
    // The buffer at the logical size times the scale, cleared.
    void resizeBuffer();
    void applyOrigin();
    void drawTurnedText(std::string_view utf8, const GP::Rect& pixelRect, const UIA::Font& font,
                        std::uint32_t colour, std::uint32_t flags);

    std::unique_ptr<BGDrawBuffer> buffer_;
    GP::Point origin_;
    GP::Point offset_;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    UIA::Picture turnedText_;
    float scale_ = 1.0f;
};

}  // namespace QX::NWL
