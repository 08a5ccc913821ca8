#pragma once
#include "gp/FileType.h"

namespace QX::UIA::Test {

// A one-type group ("Text File": txt, log) for the file-dialog tests.
struct TextTypes {
    GP::FileTypeGroup group;
    GP::FileType text;
    TextTypes() {
        text = {"Text File", "Text Files", &group, {"txt", "log"}, {}};
        group.name = "Text";
        group.pluralDescription = "Text Files";
        group.types = {&text};
    }
};

}  // namespace QX::UIA::Test
