#include "gp/Path.h"

#include "Platform.h"
#include "gp/Text.h"

namespace QX::GP {
namespace {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

bool isDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The first separator of the text, or `fallback` when it has none.
char separatorOf(std::string_view text, char fallback)
{
    for (char c : text)
        if (isSeparator(c))
            return c;
    return fallback;
}

// The length of the root at the start of `text` (separators already made
// uniform): a share "\\server\share\", a drive "C:" or "C:\", or a lone
// separator.
std::size_t rootLength(const std::string& text, char sep)
{
    if (text.size() >= 2 && text[0] == sep && text[1] == sep) {
        std::size_t end = text.find(sep, 2);  // after the server
        if (end != std::string::npos)
            end = text.find(sep, end + 1);  // after the share
        return end == std::string::npos ? text.size() : end + 1;
    }
    if (text.size() >= 2 && isDriveLetter(text[0]) && text[1] == ':')
        return text.size() >= 3 && text[2] == sep ? 3 : 2;
    if (!text.empty() && text[0] == sep)
        return 1;
    return 0;
}

// Drops repeated separators, which name nothing.
std::string collapseSeparators(std::string_view text, char sep)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != sep || out.empty() || out.back() != sep)
            out.push_back(c);
    return out;
}

}  // namespace

Path::Path(std::string_view utf8) { assign(utf8); }

Path::Path(std::u16string_view utf16) { assign(utf16ToUtf8(utf16)); }

void Path::clear()
{
    *this = Path();
}

void Path::assign(std::string_view utf8)
{
    containerSubPath_.clear();
    fileType_ = nullptr;
    rootFlag_ = false;
    split(utf8);
}

void Path::split(std::string_view input)
{
    separator_ = separatorOf(input, '\\');
    std::string text(input);
    for (char& c : text)
        if (isSeparator(c))
            c = separator_;

    const std::size_t rootEnd = rootLength(text, separator_);
    root_ = text.substr(0, rootEnd);
    const std::string rest = collapseSeparators(std::string_view(text).substr(rootEnd), separator_);
    std::string_view tail = rest;
    if (!tail.empty() && tail.front() == separator_)
        tail.remove_prefix(1);  // a share root already ends in its separator

    const std::size_t lastSep = tail.rfind(separator_);
    const std::size_t nameStart = lastSep == std::string_view::npos ? 0 : lastSep + 1;
    directory_ = std::string(tail.substr(0, nameStart));
    setName(tail.substr(nameStart));
    extension_.clear();

    const std::size_t dot = name_.rfind('.');
    const bool dotsOnly = name_ == "." || name_ == "..";
    if (!dotsOnly && dot != std::string::npos && dot > 0 && dot + 1 < name_.size()) {
        extension_ = name_.substr(dot + 1);
        name_.resize(dot);
    }
}

std::string Path::fileName() const
{
    return extension_.empty() ? name_ : name_ + "." + extension_;
}

std::string Path::folder() const { return root_ + directory_; }

std::string Path::toString(bool withRoot) const
{
    return (withRoot ? root_ : std::string()) + directory_ + fileName();
}

std::u16string Path::toWideString() const { return utf8ToWide(toString()); }

bool Path::isEmpty() const
{
    return root_.empty() && directory_.empty() && name_.empty() && extension_.empty();
}

void Path::setDirectory(std::string_view folder, bool isFile)
{
    std::string text(folder);
    const char sep = separatorOf(text, separator_);
    if (isFile) {
        std::size_t cut = text.size();
        while (cut > 0 && !isSeparator(text[cut - 1]))
            --cut;
        text.resize(cut);
    }
    if (!text.empty() && !isSeparator(text.back()))
        text.push_back(sep);
    split(text + fileName());
}

void Path::setName(std::string_view name)
{
    name_ = std::string(name);
    if (!name_.empty())
        kind_ = kFile;
    else if (!directory_.empty())
        kind_ = kDirectory;
    else
        kind_ = root_.empty() ? kNone : kVolume;
}

void Path::setExtension(std::string_view extension)
{
    if (!extension.empty() && extension.front() == '.')
        extension.remove_prefix(1);
    extension_ = std::string(extension);
}

void Path::append(std::string_view text)
{
    split(root_ + directory_ + name_ + "." + std::string(text));
}

Path Path::appendComponent(std::string_view child) const
{
    std::string base = toString();
    if (!base.empty() && !isSeparator(base.back()))
        base.push_back(separator_);
    Path result(*this);
    result.split(base + std::string(child));
    return result;
}

bool Path::setFileType(const FileType* type)
{
    if (fileType_ == type)
        return false;
    fileType_ = type;
    return true;
}

void Path::resolveFileType() { fileType_ = findFileTypeByExtension(extension_); }

bool Path::exists() const { return !isEmpty() && DETAIL::pathExists(toString()); }

bool Path::directoryExists() const
{
    if (isEmpty())
        return false;
    std::string text = toString();
    while (text.size() > root_.size() && isSeparator(text.back()))
        text.pop_back();
    return DETAIL::isDirectory(text);
}

bool Path::assignCurrentDirectory()
{
    std::string current;
    if (!DETAIL::readCurrentDirectory(current) || current.empty())
        return false;
    if (!isSeparator(current.back()))
        current.push_back(separatorOf(current, separator_));
    assign(current);
    return true;
}

}  // namespace QX::GP
