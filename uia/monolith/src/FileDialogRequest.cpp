#include "uia/FileDialogRequest.h"

#include "gp/Text.h"
#include "uia/WindowBase.h"
#include "uia/WindowImpl.h"

namespace QX::UIA {
namespace {

using tExtensions = std::vector<std::string>;

tExtensions extensionsOf(const FileDialogRequest::tFilterEntry& entry) {
    if (entry.type)
        return entry.type->extensions;
    tExtensions extensions;
    if (entry.group)
        for (const GP::FileType* type : entry.group->types)
            extensions.insert(extensions.end(), type->extensions.begin(), type->extensions.end());
    return extensions;
}

std::string descriptionOf(const FileDialogRequest::tFilterEntry& entry) {
    if (entry.type)
        return entry.singular ? entry.type->name : entry.type->pluralDescription;
    return entry.group ? entry.group->pluralDescription : std::string();
}

std::string joinPatterns(const tExtensions& extensions) {
    std::string joined = "*.";
    for (std::size_t i = 0; i < extensions.size(); ++i) {
        if (i > 0)
            joined += ";*.";
        joined += extensions[i];
    }
    return joined;
}

bool hasWildcard(const std::string& extension) {
    return extension.find_first_of("*?") != std::string::npos;
}

}  // namespace

FileDialogRequest::FileDialogRequest() = default;
FileDialogRequest::~FileDialogRequest() = default;

void FileDialogRequest::setTitle(std::string_view utf8) { title_ = utf8; }

void FileDialogRequest::setInitialDirectory(const GP::Path& path) { initialPath_ = path; }

void FileDialogRequest::addFileTypeGroup(const GP::FileTypeGroup* group) {
    if (group)
        groups_.push_back(group);
}

bool FileDialogRequest::show(int kind, WindowBase* parent) {
    void* owner = parent && parent->getImpl() ? parent->getImpl()->getNativeHandle() : nullptr;
    return showForNativeOwner(kind, owner);
}

bool FileDialogRequest::showForNativeOwner(int kind, void* ownerHandle) {
    resultPath_.clear();
    dialogKind_ = kind;
    switch (kind) {
    case kOpen:
    case kSave:
        return showOpenOrSave(kind, ownerHandle);
    case kFolder:
        return showFolder(ownerHandle);
    default:
        return false;
    }
}

int FileDialogRequest::buildFilterEntries(int kind) {
    const bool open = kind == kOpen;
    const GP::FileTypeGroup* allFiles = &GP::getPredefinedFileTypeGroup(0);
    filterEntries_.clear();
    int marked = -1;
    const auto mark = [&] { marked = static_cast<int>(filterEntries_.size()); };
    bool allFilesOffered = false;
    if (open) {
        for (const GP::FileTypeGroup* group : groups_) {
            if (group == allFiles) {
                allFilesOffered = true;
                continue;
            }
            if (group->types.empty())
                continue;
            if (group == defaultGroup_ || group->types.front() == defaultType_)
                mark();
            filterEntries_.push_back({group, nullptr, false});
        }
    }
    for (const GP::FileTypeGroup* group : groups_) {
        if (group == allFiles)
            continue;
        for (const GP::FileType* type : group->types) {
            // In the open dialog the group's own entry stands for its only type.
            if (open && group->types.size() == 1)
                continue;
            if (type == defaultType_)
                mark();
            filterEntries_.push_back({nullptr, type, !open});
        }
    }
    if (allFilesOffered) {
        if (allFiles == defaultGroup_)
            mark();
        filterEntries_.push_back({allFiles, nullptr, false});
    }
    return marked;
}

std::u16string FileDialogRequest::buildFilterText() const {
    std::string text;
    for (const tFilterEntry& entry : filterEntries_) {
        const tExtensions extensions = extensionsOf(entry);
        const std::string patterns = joinPatterns(extensions);
        text += descriptionOf(entry);
        if (!extensions.empty())
            text += " (" + patterns + ")";
        text += '\0';
        text += patterns;
        text += '\0';
    }
    if (filterEntries_.empty())
        text += '\0';
    text += '\0';
    return GP::utf8ToWide(text);
}

std::string FileDialogRequest::getDefaultExtension() const {
    for (const tFilterEntry& entry : filterEntries_) {
        const tExtensions extensions = extensionsOf(entry);
        if (!extensions.empty() && !hasWildcard(extensions.front()))
            return extensions.front();
    }
    return {};
}

void FileDialogRequest::acceptOpenResult(const GP::Path& chosen) {
    resultPath_ = chosen;
    resultPath_.resolveFileType();
}

void FileDialogRequest::acceptSaveResult(const GP::Path& chosen, std::uint32_t filterIndex) {
    resultPath_ = chosen;
    if (filterIndex == 0 || filterIndex > filterEntries_.size())
        return;
    const GP::FileType* type = filterEntries_[filterIndex - 1].type;
    if (!type)
        return;
    defaultType_ = type;
    resultPath_.setFileType(type);
    // A type without a usable extension leaves the name as the user typed it.
    if (resultPath_.extension().empty() && !type->extensions.empty() &&
        !hasWildcard(type->extensions.front()))
        resultPath_.append(type->extensions.front());
}

void FileDialogRequest::acceptFolderResult(const GP::Path& chosen) {
    resultPath_ = chosen;
    resultPath_.setKind(GP::Path::kDirectory);
}

}  // namespace QX::UIA
