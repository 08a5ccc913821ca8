// The three keyboard models seen from above, each with its own proportions,
// controls and a key-count badge, so that they differ at a glance.
#include "Pictures.h"

namespace Art {

namespace {

struct tKeyboardModel {
    const char* badge;
    int whiteKeys;
    int firstNote;  // 0 C, 1 D, 2 E, 3 F, 4 G, 5 A, 6 B
    double bodyWidth;
    double bodyHeight;
    double keyLength;
    int knobs;
    bool pads;
};

bool hasBlackKeyAfter(int note) {
    return note != 2 && note != 6;  // none between E-F and B-C
}

void drawKeys(Canvas& canvas, const tKeyboardModel& model, double x0, double x1, double y0) {
    const double y1 = y0 + model.keyLength;
    canvas.fill(roundRect(x0 - 0.5, y0 - 0.5, x1 + 0.5, y1 + 0.5, 0.5), rgb(24, 25, 28));
    const double pitch = (x1 - x0) / model.whiteKeys;
    const double gap = pitch < 2 ? 0.22 : 0.3;
    for (int key = 0; key < model.whiteKeys; ++key) {
        const double left = x0 + key * pitch;
        canvas.fill(roundRect(left + gap, y0, left + pitch - gap, y1, 0.4),
                    verticalGradient(y0, y1, rgb(250, 250, 248), rgb(226, 226, 222)));
    }
    const double blackWidth = pitch * 0.62, blackLength = model.keyLength * 0.6;
    for (int key = 0; key + 1 < model.whiteKeys; ++key) {
        if (!hasBlackKeyAfter((model.firstNote + key) % 7)) continue;
        const double centre = x0 + (key + 1) * pitch;
        canvas.fill(roundRect(centre - blackWidth / 2, y0, centre + blackWidth / 2, y0 + blackLength, 0.35),
                    verticalGradient(y0, y0 + blackLength, rgb(20, 20, 22), rgb(58, 60, 64)));
    }
}

void drawControls(Canvas& canvas, const tKeyboardModel& model, double x0, double y0, double x1, double y1) {
    const double height = y1 - y0;
    // Pitch and modulation wheels at the left.
    for (int wheel = 0; wheel < 2; ++wheel) {
        const double left = x0 + 1.5 + wheel * 4.5;
        canvas.fill(roundRect(left, y0 + height * 0.2, left + 3, y1 - height * 0.1, 1.2), rgb(22, 23, 26));
        canvas.fill(roundRect(left + 0.6, y0 + height * 0.45, left + 2.4, y0 + height * 0.6, 0.5), rgb(120, 124, 130));
    }
    // A small display.
    const double displayLeft = x0 + 12;
    canvas.fill(roundRect(displayLeft, y0 + height * 0.25, displayLeft + 12, y0 + height * 0.25 + 5.5, 0.8),
                verticalGradient(y0, y1, rgb(120, 190, 230), rgb(60, 130, 180)));
    // A row of knobs.
    double knobX = displayLeft + 16;
    const double knobY = y0 + height * 0.25 + 2.75;
    for (int knob = 0; knob < model.knobs; ++knob, knobX += 4.6) {
        canvas.fill(disc(knobX, knobY, 1.7), rgb(20, 21, 24));
        canvas.fill(disc(knobX, knobY, 1.0), rgb(150, 154, 160));
    }
    if (model.pads) {
        for (int row = 0; row < 2; ++row) {
            for (int column = 0; column < 4; ++column) {
                const double left = displayLeft + 16 + column * 4.6 - 1.7, top = knobY + 3.5 + row * 4.2;
                canvas.fill(roundRect(left, top, left + 3.4, top + 3.4, 0.6), rgb(110, 170, 200));
            }
        }
    }
    // The key-count badge at the right.
    const double cell = 1.4;
    const double badgeWidth = pixelDigitsWidth(model.badge, cell) + 3, badgeHeight = 5 * cell + 3;
    const double badgeLeft = x1 - 2 - badgeWidth, badgeTop = y0 + (height - badgeHeight) / 2;
    canvas.fill(roundRect(badgeLeft, badgeTop, badgeLeft + badgeWidth, badgeTop + badgeHeight, 1.2), rgb(236, 238, 240));
    drawPixelDigits(canvas, model.badge, badgeLeft + 1.5, badgeTop + 1.5, cell, rgb(24, 74, 104));
}

Image drawKeyboard(const tKeyboardModel& model) {
    Canvas canvas(95, 72);
    const double x0 = (95 - model.bodyWidth) / 2, x1 = x0 + model.bodyWidth;
    const double y0 = (72 - model.bodyHeight) / 2, y1 = y0 + model.bodyHeight;
    canvas.fill(roundRect(x0, y0 + 1, x1, y1 + 1, 3), rgb(0, 0, 0, 40));  // shadow
    canvas.fill(roundRect(x0, y0, x1, y1, 3), verticalGradient(y0, y1, rgb(78, 82, 88), rgb(44, 46, 51)));
    canvas.fill(roundRect(x0 + 1, y0 + 0.5, x1 - 1, y0 + 1.2, 0), rgb(255, 255, 255, 50));
    const double side = model.whiteKeys > 40 ? 1.5 : 2.0;
    const double keysTop = y1 - 1.5 - model.keyLength;
    drawControls(canvas, model, x0 + side, y0 + 1.5, x1 - side, keysTop - 1.5);
    drawKeys(canvas, model, x0 + side, x1 - side, keysTop);
    return canvas.resolve();
}

}  // namespace

std::vector<tPicture> keyboardPictures() {
    static const tKeyboardModel k49{"49", 29, 0, 80, 46, 22, 4, true};
    static const tKeyboardModel k61{"61", 36, 0, 90, 42, 21, 8, false};
    static const tKeyboardModel k88{"88", 52, 5, 95, 34, 19, 3, false};
    return {
        {"device.png", 1, [] { return drawKeyboard(k49); }},
        {"device-HVX61.png", 1, [] { return drawKeyboard(k61); }},
        {"device-HVX88.png", 1, [] { return drawKeyboard(k88); }},
    };
}

}  // namespace Art
