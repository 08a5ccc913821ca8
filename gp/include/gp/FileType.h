#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace QX::GP {

class FileTypeGroup;

// A kind of file: its singular name ("WAV File"), plural description ("WAV
// Files"), group, extensions without the dot ("wav") and four-character
// codes. Types and groups are long-lived constant objects.
struct FileType {
    std::string name;
    std::string pluralDescription;
    const FileTypeGroup* group = nullptr;
    std::vector<std::string> extensions;
    std::vector<std::uint32_t> fourCharCodes;
};

// A named, ordered list of file types.
class FileTypeGroup {
public:
    std::string name;
    std::string pluralDescription;
    std::vector<const FileType*> types;
};

// The predefined all-files type: name "Unknown", plural "All Files", one
// extension "*".
const FileType& getAllFilesType();

// The predefined groups by index 0 to 4; 0 is the all-files group. Out of
// range gives group 0.
const FileTypeGroup& getPredefinedFileTypeGroup(int index);
inline constexpr int kPredefinedFileTypeGroupCount = 5;

// The given group or type, or the predefined all-files one when none.
const FileTypeGroup& fileTypeGroupOrDefault(const FileTypeGroup* group);
const FileType& fileTypeOrDefault(const FileType* type);

// The predefined type whose extensions include `extension` (without regard
// to case), or null.
const FileType* findFileTypeByExtension(const std::string& extension);

}  // namespace QX::GP
