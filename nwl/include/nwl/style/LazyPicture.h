#pragma once
#include <functional>
#include <memory>
#include <string>

namespace QX::UIA {
class Picture;
}

namespace QX::NWL {

// A picture named by a style, loaded per scale factor on first use. The
// style sheets only carry it; the widget library's resource manager makes
// the loader.
class LazyPicture {
public:
    using tLoader = std::function<std::shared_ptr<const UIA::Picture>(float scale)>;

    LazyPicture() = default;
    LazyPicture(std::string name, tLoader loader) : name_(std::move(name)), loader_(std::move(loader)) {}

    const std::string& getName() const { return name_; }
    bool isEmpty() const { return name_.empty(); }
    std::shared_ptr<const UIA::Picture> getPicture(float scale) const { return loader_ ? loader_(scale) : nullptr; }

    friend bool operator==(const LazyPicture& a, const LazyPicture& b) { return a.name_ == b.name_; }

private:
    std::string name_;
    tLoader loader_;
};

}  // namespace QX::NWL
