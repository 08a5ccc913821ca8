#pragma once
#include <string>
#include <string_view>

#include "gp/FileType.h"

namespace QX::GP {

// A file-system path split into root (drive "C:", a share "\\server\share"
// or "/"), directory, name and extension, with a container sub-path, a file
// type and a kind. Both '\' and '/' are accepted as separators; the text is
// rebuilt with the separator of the first one found ('\' when none).
class Path {
public:
    enum Kind { kNone = 0, kFile = 1, kDirectory = 2, kVolume = 3 };

    Path() = default;
    explicit Path(std::string_view utf8);
    explicit Path(std::u16string_view utf16);

    // Replaces the whole path and splits it into its parts; the root flag is
    // left clear.
    void assign(std::string_view utf8);
    void clear();

    // The path's text; with `withRoot` the root part comes first.
    std::string toString(bool withRoot = true) const;
    std::u16string toWideString() const;

    bool isEmpty() const;
    const std::string& root() const { return root_; }
    // The directory without root, ending in a separator when not empty.
    const std::string& directory() const { return directory_; }
    const std::string& name() const { return name_; }
    // Without the dot.
    const std::string& extension() const { return extension_; }
    // Name and extension.
    std::string fileName() const;
    // Root and directory.
    std::string folder() const;
    char separator() const { return separator_; }
    bool isAbsolute() const { return !root_.empty(); }

    // The item inside a file container this path addresses (empty: none).
    const std::string& containerSubPath() const { return containerSubPath_; }
    void setContainerSubPath(std::string subPath) { containerSubPath_ = std::move(subPath); }

    bool hasRootFlag() const { return rootFlag_; }
    void setRootFlag(bool flag) { rootFlag_ = flag; }

    // Rebuilds the path as `folder` plus this path's name and extension.
    // With `isFile` the last part of `folder` is dropped first (it names a
    // file), as a folder taken from another file's path.
    void setDirectory(std::string_view folder, bool isFile = false);
    void setName(std::string_view name);
    void setExtension(std::string_view extension);
    // Rebuilds the text as root, directory and name followed by "." and
    // `text`, and reparses it.
    void append(std::string_view text);
    // A path naming `child` inside this path taken as a folder.
    Path appendComponent(std::string_view child) const;

    const FileType* getFileType() const { return fileType_; }
    // True when it changed.
    bool setFileType(const FileType* type);
    // Sets the file type from the extension (null when none matches).
    void resolveFileType();

    Kind getKind() const { return kind_; }
    void setKind(Kind kind) { kind_ = kind; }

    bool exists() const;
    bool directoryExists() const;
    // False when the current directory cannot be read.
    bool assignCurrentDirectory();

    friend bool operator==(const Path& a, const Path& b) { return a.toString() == b.toString(); }

private:
    void split(std::string_view text);

    std::string root_;
    std::string directory_;
    std::string name_;
    std::string extension_;
    std::string containerSubPath_;
    const FileType* fileType_ = nullptr;
    Kind kind_ = kNone;
    char separator_ = '\\';
    bool rootFlag_ = false;
};

}  // namespace QX::GP
