// Draws the program's pictures and its icon into a folder: every picture is
// made here at build time, the same bytes on every run. Built and run on the
// build machine.
//
//   GenerateArt <output folder>      writes the pictures and Program.ico
#include <cstdio>
#include <stdexcept>
#include <string>

#include "art/ImageFiles.h"
#include "art/Pictures.h"

namespace {

std::vector<Art::tPicture> allPictures() {
    std::vector<Art::tPicture> pictures;
    for (auto group : {Art::panelPictures, Art::controlPictures, Art::keyboardPictures}) {
        for (auto& picture : group()) pictures.push_back(std::move(picture));
    }
    return pictures;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const std::string target = argv[1];
    try {
        for (const auto& picture : allPictures()) {
            const Art::Image image = picture.draw();
            if (image.height % picture.frames != 0) throw std::runtime_error(picture.fileName + ": uneven frames");
            Art::writePng(target + "/" + picture.fileName, image);
        }
        Art::writeIcon(target + "/Program.ico",
                       {Art::drawIconSquare(16), Art::drawIconSquare(32), Art::drawIconSquare(48)});
    } catch (const std::exception& error) {
        std::fprintf(stderr, "GenerateArt: %s\n", error.what());
        return 1;
    }
    return 0;
}
