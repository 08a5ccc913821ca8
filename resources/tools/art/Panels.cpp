// Flat backgrounds: the ones drawn with fixed borders keep every detail
// within the border and a uniform middle, so that stretching repeats nothing
// visible.
#include "Pictures.h"

namespace Art {

namespace {

// A rounded box with a one-pixel border.
Image drawFramedBox(int width, int height, double outerRadius, double innerRadius, Colour fillColour,
                    Colour borderColour) {
    Canvas canvas(width, height);
    canvas.fill(roundRect(0, 0, width, height, outerRadius), borderColour);
    canvas.fill(roundRect(1, 1, width - 1, height - 1, innerRadius), fillColour);
    return canvas.resolve();
}

Image drawHeader() {
    Canvas canvas(609, 38);
    canvas.fill(roundRect(0, 0, 609, 38, 4), verticalGradient(0, 37, rgb(252, 252, 252), rgb(232, 234, 236)));
    canvas.fill(roundRect(0, 37, 609, 38, 0), rgb(196, 202, 208));
    // A thin accent line at the top ties the header to the logo.
    canvas.fill(roundRect(4, 0, 605, 2, 1), withAlpha(Palette::accent(), 0.85));
    return canvas.resolve();
}

Image drawInner() {
    return drawFramedBox(32, 32, 4.5, 3.5, rgb(250, 250, 250), rgb(214, 218, 222));
}

Image drawContent() {
    Canvas canvas(32, 32);
    canvas.fill(roundRect(0, 0, 32, 32, 3.5), rgb(200, 206, 212));
    canvas.fill(roundRect(1, 1, 31, 31, 2.5), rgb(236, 238, 240));
    // A faint shade along the top edge makes the box read as inset.
    canvas.fill(roundRect(1, 1, 31, 2, 0), rgb(226, 229, 232));
    return canvas.resolve();
}

Image drawStatusFrame(Colour fillColour, Colour borderColour) {
    return drawFramedBox(32, 32, 4, 3, fillColour, borderColour);
}

Image drawStatus() {
    return stackVertically({
        drawStatusFrame(rgb(251, 231, 229), rgb(206, 92, 80)),    // error
        drawStatusFrame(rgb(230, 245, 230), rgb(88, 164, 98)),    // ok
        drawStatusFrame(rgb(229, 237, 245), rgb(98, 138, 184)),   // info
    });
}

Image drawValueFrame(Colour fillColour, Colour borderColour) {
    return drawFramedBox(200, 18, 1.5, 0.8, fillColour, borderColour);
}

Image drawValueField() {
    return stackVertically({
        drawValueFrame(rgb(255, 255, 255), rgb(176, 184, 192)),   // neutral
        drawValueFrame(rgb(226, 244, 226), rgb(110, 170, 116)),   // success
        drawValueFrame(rgb(250, 228, 226), rgb(200, 110, 100)),   // fail
        drawValueFrame(rgb(236, 238, 240), rgb(190, 196, 202)),   // spare
    });
}

Image drawAboutCard() {
    Canvas canvas(424, 254);
    // A soft shadow: widening rounded rectangles of falling strength below
    // and right of the card.
    for (int step = 4; step >= 1; --step) {
        canvas.fill(roundRect(4 - step, 5 - step, 420 + step, 250 + step, 6 + step),
                    rgb(0, 0, 0, 12));
    }
    canvas.fill(roundRect(0, 0, 420, 250, 6), rgb(186, 194, 202));
    canvas.fill(roundRect(1, 1, 419, 249, 5), rgb(252, 252, 252));
    // An accent band along the top edge, following the rounded corners.
    canvas.fill(subtract(roundRect(1, 1, 419, 249, 5), roundRect(0, 5, 424, 254, 0)), Palette::accent());
    return canvas.resolve();
}

}  // namespace

std::vector<tPicture> panelPictures() {
    return {
        {"Bg_Header_FU.png", 1, drawHeader},
        {"Bg_Inner_FU.png", 1, drawInner},
        {"Bg_Content.png", 1, drawContent},
        {"Bg_Status.png", 3, drawStatus},
        {"Text_Display.png", 4, drawValueField},
        {"Bg_Overlay_FU.png", 1, drawAboutCard},
    };
}

}  // namespace Art
