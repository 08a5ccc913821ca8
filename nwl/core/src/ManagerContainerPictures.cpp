#include <map>

#include <fmt/format.h>

#include "gp/StorageIO.h"
#include "nwl/core/ManagerContainer.h"
#include "uia/picture/Picture.h"

namespace QX::NWL {

namespace {

bool sameProperties(const UIA::PictureProperties& a, const UIA::PictureProperties& b)
{
    return a.getOption() == b.getOption() && a.getOrientation() == b.getOrientation() &&
           a.getAnimationCount() == b.getAnimationCount() && a.getFixedFlags() == b.getFixedFlags() &&
           a.getFixedTop() == b.getFixedTop() && a.getFixedBottom() == b.getFixedBottom() &&
           a.getFixedLeft() == b.getFixedLeft() && a.getFixedRight() == b.getFixedRight();
}

}  // namespace

// One named picture with its properties; its pictures per scale are made on
// first use and shared by every copy of the references to it.
class ManagerContainer::PictureSource : public DETAIL::LoaderPictureSource {
public:
    PictureSource(std::string name, const UIA::PictureProperties& properties, LazyPicture::tLoader loader)
        : LoaderPictureSource(std::move(name), std::move(loader))
    {
        properties_.copyPropertiesFrom(properties);
    }

    bool equals(const ISource& other) const override
    {
        const auto* source = dynamic_cast<const PictureSource*>(&other);
        return source && source->getName() == getName() && sameProperties(source->properties_, properties_);
    }

private:
    UIA::PictureProperties properties_;
};

LazyPicture ManagerContainer::getLazyPicture(const std::string& name, const UIA::PictureProperties& properties)
{
    if (name.empty())
        return LazyPicture();
    const tPictureKey key{name,
                          properties.getOrientation(),
                          properties.getAnimationCount(),
                          properties.getFixedFlags(),
                          properties.getFixedTop(),
                          properties.getFixedBottom(),
                          properties.getFixedLeft(),
                          properties.getFixedRight(),
                          properties.getOption()};
    auto& source = pictures_[key];
    if (!source) {
        // The references may outlive the container: they then give nothing.
        std::weak_ptr<void> alive = alive_;
        auto loader = [this, alive, name, properties = UIA::PictureProperties(properties)](float scale) {
            return alive.expired() ? nullptr : loadPicture(name, properties, scale);
        };
        source = std::make_shared<PictureSource>(name, properties, std::move(loader));
    }
    return LazyPicture(source);
}

std::shared_ptr<const UIA::Picture> ManagerContainer::loadPicture(const std::string& name,
                                                                  const UIA::PictureProperties& properties,
                                                                  float scale)
{
    const bool unscaled = scale == 1.0f;
    const std::string resourceName =
        unscaled ? name : UIA::makeScaledPictureName(GP::Path(name), scale).toString();
    // A missing picture is reported once, not at every repaint; a missing
    // scaled variant falls back to the unscaled picture silently.
    const bool report = unscaled && !missingPictures_.contains(name);
    const auto stream = getResourceStream(resourceName, ePicture, report);
    auto picture = std::make_shared<UIA::Picture>();
    GP::StorageIO reader(stream ? stream->getStorage() : nullptr);
    if (!stream || !picture->loadFromStream(reader, true)) {
        if (unscaled && missingPictures_.insert(name).second && stream)
            reportError(fmt::format("NWL::ManagerContainer::getLazyPicture - can't decode picture {}", name));
        return nullptr;
    }
    const bool alpha = picture->getOption();
    picture->copyPropertiesFrom(properties);
    picture->setOption(alpha);
    picture->updateRegionMasks();
    return picture;
}

}  // namespace QX::NWL
