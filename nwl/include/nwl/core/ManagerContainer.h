#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>

#include "gp/Path.h"
#include "gp/Stream.h"
#include "nwl/core/FontDescription.h"
#include "nwl/core/StyleManager.h"
#include "nwl/style/ErrorHandlers.h"
#include "nwl/style/LazyPicture.h"
#include "nwl/style/StyleSheet.h"
#include "uia/picture/PictureProperties.h"

namespace QX::UIA {
class Font;
}

namespace QX::NWL {

// The widget library's one process-wide object: it finds resources by name
// (pictures, style sheets, fonts) among the program's embedded resources or
// in a skin folder, and keeps the style manager and the font and picture
// caches.
class ManagerContainer {
public:
    enum eResourceKind : int { ePicture = 0, eStylesheet = 1, eFont = 2 };
    enum eResourceMode : std::int32_t { eUndetermined = 0, eProgramResources = 1, eSkinFolder = 2 };

    // Parses the built-in default style sheet into the style manager.
    ManagerContainer();
    ~ManagerContainer();
    ManagerContainer(const ManagerContainer&) = delete;
    ManagerContainer& operator=(const ManagerContainer&) = delete;

    StyleManager& getStyleManager() { return *styleManager_; }

    // A stream over the named resource of that kind; null (and, when asked,
    // one report) when it cannot be found. The first request fixes the mode.
    std::shared_ptr<GP::Stream> getResourceStream(const std::string& name, int kind, bool reportErrors);
    // Chooses between the program's resources and a "skin" folder (next to
    // the executable, else in the current directory) when the skin-folder
    // switch is on.
    void initSkinSearchPaths();
    std::int32_t getResourceMode() const { return mode_; }
    const GP::Path& getSkinFolder() const { return skinFolder_; }

    // Loads the named style sheet into the current one unless it is already
    // the current one's name.
    void setStylesheet(const std::string& name);
    // Loads the named style sheet; false when it cannot be opened or parsed
    // (the rules then stay as they were).
    bool loadStylesheet(const std::string& name);
    // What the resource definitions of this container add to every style.
    StyleSheet::tDeriveProperties makeResourceDeriver();

    // The font of a description, made on first use and kept for the life of
    // the container. A named font is the font resource of that name; one
    // that cannot be found or used falls back to the default face (reported
    // once per name).
    const UIA::Font* getFont(const FontDescription& description);
    // A reference to the named picture with these properties; the picture is
    // loaded when it is first drawn. References with equal name and
    // properties share their pictures.
    LazyPicture getLazyPicture(const std::string& name, const UIA::PictureProperties& properties);

    // The library's default font.
    const UIA::Font* getDefaultFont() { return getFont(getDefaultFontDescription()); }

private:
    class PictureSource;
    using tPictureKey = std::tuple<std::string, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t,
                                   std::uint32_t, std::uint32_t, std::uint32_t, bool>;

    std::shared_ptr<GP::Stream> openSkinFile(const std::string& name, int kind, bool reportErrors);
    std::unique_ptr<UIA::Font> makeFont(const FontDescription& description);
    // Loads one picture; a missing one is reported once per name.
    std::shared_ptr<const UIA::Picture> loadPicture(const std::string& name, const UIA::PictureProperties& properties,
                                                    float scale);

    std::unique_ptr<StyleManager> styleManager_;
    std::int32_t mode_ = eUndetermined;
    GP::Path skinFolder_;
    std::map<FontDescription, std::unique_ptr<UIA::Font>, FontDescriptionLess> fonts_;
    std::map<tPictureKey, std::shared_ptr<PictureSource>> pictures_;
    std::set<std::string> missingPictures_;
    // Named fonts found missing or unusable, each reported once.
    std::set<std::string> failedFonts_;
    // Watched by the picture references, which may outlive the container.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

// The container of the started library; null when it is not started.
ManagerContainer* getManagerContainer();
// Installs the container that getManagerContainer answers (start-up, tests).
void setManagerContainer(ManagerContainer* container);

// Whether resources may come from a "skin" folder; set before the first
// resource request.
void setUseSkinFolder(bool use);
bool getUseSkinFolder();

}  // namespace QX::NWL
