#include "nwl/core/ManagerContainer.h"

#include <algorithm>

#include <fmt/format.h>

#include "gp/Module.h"
#include "gp/Trace.h"
#include "nwl/core/StyleResources.h"
#include "nwl/core/WidgetStyle.h"
#include "nwl/style/StyleParser2.h"
#include "uia/picture/Font.h"

namespace QX::NWL {

namespace {

ManagerContainer* currentContainer = nullptr;
bool useSkinFolder = false;

struct tResourceKind {
    const char* resourceType;
    const char* skinFolder;
};

constexpr tResourceKind kResourceKinds[] = {
    {"PICTURE", "pictures"},
    {"STYLESHEET", "stylesheets"},
    {"TTFd", "fonts"},
};

// "<folder>/skin" when it exists as a directory.
bool findSkinFolderIn(const std::string& folder, GP::Path& skin)
{
    const GP::Path candidate = GP::Path(folder).appendComponent("skin");
    if (!candidate.directoryExists())
        return false;
    skin = candidate;
    return true;
}

}  // namespace

ManagerContainer* getManagerContainer() { return currentContainer; }
void setManagerContainer(ManagerContainer* container) { currentContainer = container; }
void setUseSkinFolder(bool use) { useSkinFolder = use; }
bool getUseSkinFolder() { return useSkinFolder; }

const FontDescription& getDefaultFontDescription()
{
    static const FontDescription description;
    return description;
}

ManagerContainer::ManagerContainer() : styleManager_(std::make_unique<StyleManager>())
{
    styleManager_->setDefaultFont(getDefaultFont());
    StyleParser2::processString(styleManager_->getStyleSheet(), defaultStylesheetText, makeResourceDeriver());
}

ManagerContainer::~ManagerContainer() = default;

void ManagerContainer::initSkinSearchPaths()
{
    mode_ = eProgramResources;
    if (!useSkinFolder)
        return;
    GP::Path currentDirectory;
    if (findSkinFolderIn(GP::getModuleFilePath().folder(), skinFolder_) ||
        (currentDirectory.assignCurrentDirectory() && findSkinFolderIn(currentDirectory.toString(), skinFolder_)))
        mode_ = eSkinFolder;
}

std::shared_ptr<GP::Stream> ManagerContainer::getResourceStream(const std::string& name, int kind, bool reportErrors)
{
    if (mode_ == eUndetermined)
        initSkinSearchPaths();
    if (kind < ePicture || kind > eFont)
        return nullptr;
    if (mode_ == eProgramResources) {
        auto stream = GP::createResourceStream(GP::ResourceId(name), kResourceKinds[kind].resourceType, 1);
        if (!stream && reportErrors)
            reportError(fmt::format("NWL::ManagerContainer::getResourceStream - can't load linked resource {}", name));
        return stream;
    }
    if (mode_ == eSkinFolder)
        return openSkinFile(name, kind, reportErrors);
    GP::writeTrace("", "NWL::ManagerContainer::getResourceStream - can't determin proper resource path");
    return nullptr;
}

std::shared_ptr<GP::Stream> ManagerContainer::openSkinFile(const std::string& name, int kind, bool reportErrors)
{
    std::string relative = name;
    std::replace(relative.begin(), relative.end(), '/', '\\');
    const GP::Path path = skinFolder_.appendComponent(kResourceKinds[kind].skinFolder).appendComponent(relative);
    auto stream = std::make_shared<GP::FileStream>();
    if (stream->open(path))
        return stream;
    if (reportErrors)
        reportError(fmt::format("NWL::ManagerContainer::getResourceStream - can't find resource: {0}", path.toString()));
    return nullptr;
}

void ManagerContainer::setStylesheet(const std::string& name)
{
    if (name == styleManager_->getStylesheetName())
        return;
    styleManager_->setStylesheetName(name);
    loadStylesheet(name);
}

bool ManagerContainer::loadStylesheet(const std::string& name)
{
    StyleSheet& sheet = styleManager_->getStyleSheet();
    const auto stream = getResourceStream(name, eStylesheet, true);
    if (!stream) {
        sheet.clearCaches();
        return false;
    }
    return StyleParser2::loadStylesheet(sheet, stream, name, makeResourceDeriver());
}

StyleSheet::tDeriveProperties ManagerContainer::makeResourceDeriver()
{
    return [this](const Style& style, std::vector<Property>& derived) { deriveStyleResources(*this, style, derived); };
}

const UIA::Font* ManagerContainer::getFont(const FontDescription& description)
{
    auto found = fonts_.find(description);
    if (found == fonts_.end())
        found = fonts_.emplace(description, makeFont(description)).first;
    return found->second.get();
}

std::unique_ptr<UIA::Font> ManagerContainer::makeFont(const FontDescription& description)
{
    if (description.name.empty() || (description.styleFlags & kFontFamilyName) != 0)
        return std::make_unique<UIA::Font>(description);
    // A named font is its own face, never the default one of the same id.
    // A missing one is reported by the stream's opening; one whose file
    // FreeType cannot use (truncated, no font at all) is reported here. Both
    // fall back to the default face, so that text still shows, and are
    // reported once per name however many sizes the style asks for.
    const bool report = !failedFonts_.contains(description.name);
    if (const auto stream = getResourceStream(description.name, eFont, report)) {
        FontDescription named = description;
        named.resourceId = 0;
        auto font = std::make_unique<UIA::Font>(stream, named);
        if (font->isUsable())
            return font;
        if (report)
            reportError(fmt::format("NWL::ManagerContainer::getFont - can't use font {}", description.name));
    }
    failedFonts_.insert(description.name);
    FontDescription fallback = description;
    fallback.name.clear();
    fallback.resourceId = getDefaultFontDescription().resourceId;
    return std::make_unique<UIA::Font>(fallback);
}

}  // namespace QX::NWL
