// The small pictures: logo mark, status icons, busy wheel and buttons.
#include <cmath>

#include "Pictures.h"

namespace Art {

namespace {

constexpr double kPi = 3.14159265358979323846;

// A wave across the mark: one and a half periods between x0 and x1.
Shape wave(double x0, double x1, double centreY, double amplitude, double halfWidth) {
    std::vector<std::pair<double, double>> points;
    const int steps = 48;
    for (int i = 0; i <= steps; ++i) {
        const double t = double(i) / steps;
        points.emplace_back(x0 + (x1 - x0) * t, centreY - amplitude * std::sin(t * 3 * kPi));
    }
    return polyline(std::move(points), halfWidth);
}

void drawMark(Canvas& canvas, double x0, double y0, double x1, double y1, double radius, double stroke) {
    canvas.fill(roundRect(x0, y0, x1, y1, radius), verticalGradient(y0, y1, Palette::accent(), Palette::accentDark()));
    const double height = y1 - y0, width = x1 - x0;
    canvas.fill(wave(x0 + width * 0.17, x1 - width * 0.17, y0 + height * 0.5, height * 0.22, stroke),
                Palette::white());
}

Image drawLogo() {
    Canvas canvas(30, 20);
    drawMark(canvas, 0.5, 0.5, 29.5, 19.5, 4, 1.15);
    return canvas.resolve();
}

Image drawStatusIcons() {
    Canvas ok(25, 25);
    ok.fill(disc(12.5, 12.5, 11.5), verticalGradient(1, 24, rgb(92, 182, 104), rgb(52, 140, 66)));
    ok.fill(polyline({{7.0, 13.0}, {10.8, 16.8}, {18.2, 8.8}}, 1.7), Palette::white());

    Canvas attention(25, 25);
    attention.fill(disc(12.5, 12.5, 11.5), verticalGradient(1, 24, rgb(104, 130, 158), rgb(66, 90, 116)));
    attention.fill(capsule(12.5, 6.5, 12.5, 13.8, 1.7), Palette::white());
    attention.fill(disc(12.5, 18.2, 1.9), Palette::white());
    return stackVertically({ok.resolve(), attention.resolve()});
}

// Frame k has its darkest spoke k steps of 30 degrees clockwise from the top
// and a fading tail behind it. The wheel stands in the status icon's place:
// with the style sheet's margins (one pixel right, two less on top) a frame
// one pixel narrower and four taller than the icon keeps the message where it
// is and the wheel centred on the icon.
Image drawBusyWheel() {
    std::vector<Image> frames;
    const double cx = 12.0, cy = 14.5;
    for (int frame = 0; frame < 12; ++frame) {
        Canvas canvas(24, 29);
        for (int spoke = 0; spoke < 12; ++spoke) {
            const double angle = spoke * kPi / 6;
            const double dx = std::sin(angle), dy = -std::cos(angle);
            const int behind = (frame - spoke + 12) % 12;
            const double strength = 1.0 - behind * 0.075;
            canvas.fill(capsule(cx + 5.8 * dx, cy + 5.8 * dy, cx + 10.4 * dx, cy + 10.4 * dy, 1.5),
                        withAlpha(rgb(34, 62, 84), strength));
        }
        frames.push_back(canvas.resolve());
    }
    return stackVertically(frames);
}

struct tButtonLook {
    Colour top, bottom, border;
};

// normal, selected, down, selected+down, over, selected+over, disabled
const tButtonLook kButtonLooks[7] = {
    {rgb(253, 253, 253), rgb(231, 233, 235), rgb(160, 170, 180)},
    {rgb(238, 245, 250), rgb(212, 226, 237), rgb(120, 150, 175)},
    {rgb(212, 216, 220), rgb(232, 234, 236), rgb(128, 138, 148)},
    {rgb(198, 214, 227), rgb(221, 231, 239), rgb(98, 128, 154)},
    {rgb(255, 255, 255), rgb(240, 245, 249), rgb(96, 138, 170)},
    {rgb(246, 250, 253), rgb(224, 236, 245), rgb(86, 128, 164)},
    {rgb(241, 241, 241), rgb(241, 241, 241), rgb(206, 209, 212)},
};

Image drawButtonFrame(const tButtonLook& look, bool pressed, bool withFocusOutline, bool disabled) {
    Canvas canvas(100, 33);
    if (withFocusOutline) {
        canvas.fill(roundRectFrame(0, 0, 100, 33, 5.5, 2), withAlpha(Palette::accent(), disabled ? 0.35 : 1.0));
    } else {
        canvas.fill(roundRectFrame(1, 1, 99, 32, 4.5, 1), rgb(0, 0, 0, 14));
    }
    canvas.fill(roundRect(2, 2, 98, 31, 3.5), look.border);
    canvas.fill(roundRect(3, 3, 97, 30, 2.5), verticalGradient(3, 30, look.top, look.bottom));
    if (!pressed && !disabled) canvas.fill(roundRect(4, 3, 96, 4, 0), rgb(255, 255, 255, 160));
    return canvas.resolve();
}

Image drawButtons(bool withFocusOutline) {
    std::vector<Image> frames;
    for (int state = 0; state < 7; ++state) {
        const bool pressed = state == 2 || state == 3;
        frames.push_back(drawButtonFrame(kButtonLooks[state], pressed, withFocusOutline, state == 6));
    }
    return stackVertically(frames);
}

}  // namespace

Image drawIconSquare(int size) {
    Canvas canvas(size, size, 8);
    const double inset = size / 16.0;
    drawMark(canvas, inset, inset + size * 0.12, size - inset, size - inset - size * 0.12, size * 0.16,
             std::max(0.9, size * 0.055));
    return canvas.resolve();
}

std::vector<tPicture> controlPictures() {
    return {
        {"Logo_QX.png", 1, drawLogo},
        {"Icon_Big_Status.png", 2, drawStatusIcons},
        {"Busywheel.png", 12, drawBusyWheel},
        {"button_forward_FU.png", 7, [] { return drawButtons(false); }},
        {"button_forward_focus_FU.png", 7, [] { return drawButtons(true); }},
    };
}

}  // namespace Art
