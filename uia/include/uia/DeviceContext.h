#pragma once
#include <cstdint>

namespace QX::UIA {

class Picture;

// The platform's drawing context of one window while it paints. The window
// procedure fills it between the start and the end of one paint message;
// outside that it draws nothing.
class DeviceContext {
public:
    DeviceContext() = default;
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;
    virtual ~DeviceContext() = default;

    // Puts the picture's pixels of the area being painted on the screen.
    // `usesAlpha` is accepted for symmetry with layered windows.
    void drawPicture(const Picture& picture, bool usesAlpha);

    void* getHandle() const { return handle_; }
    bool isPainting() const { return handle_ != nullptr; }
    float getScale() const { return scale_; }
    float getMonitorScale() const { return monitorScale_; }

    // Used by the window procedure around one paint message; `paintStruct`
    // is the platform's paint record.
    void beginPainting(void* handle, void* paintStruct, float scale);
    void endPainting();

protected:
    void* handle_ = nullptr;
    void* paintStruct_ = nullptr;
    float scale_ = 1.0f;
    float monitorScale_ = 1.0f;
};

// A drawing context over an off-screen bitmap of its own.
class PictureDC : public DeviceContext {
public:
    PictureDC(std::int32_t width, std::int32_t height);
    ~PictureDC() override;

    bool isValid() const { return bitmap_ != nullptr; }
    // The bitmap's pixels (32-bit, rows top to bottom), or null.
    std::uint8_t* getPixels() const { return pixels_; }

private:
    void* bitmap_ = nullptr;
    void* previousBitmap_ = nullptr;
    std::uint8_t* pixels_ = nullptr;
};

}  // namespace QX::UIA
