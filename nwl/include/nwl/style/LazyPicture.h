#pragma once
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <string>

namespace QX::UIA {
class Picture;
}

namespace QX::NWL {

// A picture named by a style, made per display scale on first use. The style
// sheets only carry it: the widget library's resource manager makes the
// source, which knows the picture properties, loads the pictures and keeps
// them per scale for every copy of the reference.
class LazyPicture {
public:
    class ISource {
    public:
        virtual ~ISource() = default;
        virtual const std::string& getName() const = 0;
        // The picture for the scale, made on first use; the one of scale 1.0
        // when the scale has none of its own; null when there is none at all.
        virtual std::shared_ptr<const UIA::Picture> get(float scale) const = 0;
        // Same name and same picture properties.
        virtual bool equals(const ISource& other) const = 0;
    };

    using tLoader = std::function<std::shared_ptr<const UIA::Picture>(float scale)>;

    // The empty reference: no picture (what "image: no" derives).
    LazyPicture() = default;
    explicit LazyPicture(std::shared_ptr<const ISource> source) : source_(std::move(source)) {}
    // A reference over a loader of its own (pictures made by the caller).
    LazyPicture(std::string name, tLoader loader);

    const std::string& getName() const;
    bool isEmpty() const { return getName().empty(); }
    // A scale that is not a finite positive number reads as 1.0: it would
    // break the ordering of the per-scale caches.
    std::shared_ptr<const UIA::Picture> get(float scale = 1.0f) const
    {
        if (!(scale > 0.0f && scale <= std::numeric_limits<float>::max()))
            scale = 1.0f;
        return source_ ? source_->get(scale) : nullptr;
    }
    std::shared_ptr<const UIA::Picture> getPicture(float scale) const { return get(scale); }
    const std::shared_ptr<const ISource>& getSource() const { return source_; }

    friend bool operator==(const LazyPicture& a, const LazyPicture& b)
    {
        if (a.source_ == b.source_)
            return true;
        if (!a.source_ || !b.source_)
            return a.isEmpty() && b.isEmpty();
        return a.source_->equals(*b.source_);
    }

private:
    std::shared_ptr<const ISource> source_;
};

namespace DETAIL {

// A named loader with the per-scale cache and the fallback to scale 1.0.
// Only pictures are kept: a scale whose loader gave nothing asks again next
// time, so that a picture that appears later (a skin file) is found.
class LoaderPictureSource : public LazyPicture::ISource {
public:
    LoaderPictureSource(std::string name, LazyPicture::tLoader loader)
        : name_(std::move(name)), loader_(std::move(loader))
    {
    }
    const std::string& getName() const override { return name_; }
    std::shared_ptr<const UIA::Picture> get(float scale) const override
    {
        if (const auto found = pictures_.find(scale); found != pictures_.end())
            return found->second;
        if (auto picture = loader_ ? loader_(scale) : nullptr) {
            pictures_.emplace(scale, picture);
            return picture;
        }
        return scale != 1.0f ? get(1.0f) : nullptr;
    }
    bool equals(const ISource& other) const override { return other.getName() == name_; }

private:
    std::string name_;
    LazyPicture::tLoader loader_;
    mutable std::map<float, std::shared_ptr<const UIA::Picture>> pictures_;
};

}  // namespace DETAIL

inline LazyPicture::LazyPicture(std::string name, tLoader loader)
    : source_(std::make_shared<DETAIL::LoaderPictureSource>(std::move(name), std::move(loader)))
{
}

inline const std::string& LazyPicture::getName() const
{
    static const std::string none;
    return source_ ? source_->getName() : none;
}

}  // namespace QX::NWL
