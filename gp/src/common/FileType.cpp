#include "gp/FileType.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <memory>

namespace QX::GP {
namespace {

struct TypeSpec {
    const char* name;
    const char* plural;
    std::vector<std::string> extensions;
};

struct GroupSpec {
    const char* name;
    const char* plural;
    std::vector<TypeSpec> types;
};

// The library's predefined groups; group 0 holds the all-files type alone.
struct Predefined {
    std::array<FileTypeGroup, kPredefinedFileTypeGroupCount> groups;
    std::vector<std::unique_ptr<FileType>> types;

    Predefined()
    {
        const std::array<GroupSpec, kPredefinedFileTypeGroupCount> specs{{
            {"All Files", "All Files", {{"Unknown", "All Files", {"*"}}}},
            {"Pictures", "Picture Files",
             {{"PNG File", "PNG Files", {"png"}}, {"JPEG File", "JPEG Files", {"jpg", "jpeg"}}}},
            {"Fonts", "Font Files", {{"TrueType Font", "TrueType Fonts", {"ttf"}}}},
            {"Text", "Text Files", {{"Text File", "Text Files", {"txt"}}}},
            {"Audio", "Audio Files",
             {{"WAV File", "WAV Files", {"wav"}}, {"AIFF File", "AIFF Files", {"aif", "aiff"}}}},
        }};
        for (std::size_t g = 0; g < specs.size(); ++g) {
            groups[g].name = specs[g].name;
            groups[g].pluralDescription = specs[g].plural;
            for (const TypeSpec& spec : specs[g].types) {
                auto type = std::make_unique<FileType>();
                type->name = spec.name;
                type->pluralDescription = spec.plural;
                type->group = &groups[g];
                type->extensions = spec.extensions;
                groups[g].types.push_back(type.get());
                types.push_back(std::move(type));
            }
        }
    }
};

const Predefined& predefined()
{
    static const Predefined* instance = new Predefined;
    return *instance;
}

bool equalsIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

const FileType& getAllFilesType() { return *predefined().types.front(); }

const FileTypeGroup& getPredefinedFileTypeGroup(int index)
{
    if (index < 0 || index >= kPredefinedFileTypeGroupCount)
        index = 0;
    return predefined().groups[static_cast<std::size_t>(index)];
}

const FileTypeGroup& fileTypeGroupOrDefault(const FileTypeGroup* group)
{
    return group ? *group : getPredefinedFileTypeGroup(0);
}

const FileType& fileTypeOrDefault(const FileType* type) { return type ? *type : getAllFilesType(); }

const FileType* findFileTypeByExtension(const std::string& extension)
{
    if (extension.empty())
        return nullptr;
    for (const auto& type : predefined().types)
        for (const std::string& candidate : type->extensions)
            if (candidate != "*" && equalsIgnoringCase(candidate, extension))
                return type.get();
    return nullptr;
}

}  // namespace QX::GP
