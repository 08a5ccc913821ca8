#pragma once
#include <vector>

#include "gp/Path.h"
#include "uia/ClipBoardFormat.h"

namespace QX::UIA {

// A list of file paths in the system's dropped-files format.
class FileListClipBoardFormat : public ClipBoardFormat {
public:
    FileListClipBoardFormat();

    // The block comes from other programs: every name is bounded by the
    // block's size. Directories get a trailing separator.
    bool readFromGlobal(void* globalBlock) override;
    void* writeToGlobal() const override;

    std::vector<GP::Path>& getPaths() { return paths_; }
    const std::vector<GP::Path>& getPaths() const { return paths_; }

private:
    std::vector<GP::Path> paths_;
};

}  // namespace QX::UIA
