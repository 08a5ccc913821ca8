#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "nwl/widgets/Bar.h"

namespace QX::NWL {
namespace {

class Box : public WidgetTemplate<Box> {
public:
    std::string_view getTypeName() const override { return "Box"; }
};

struct ChildSpec {
    ChildSpec(Size sizeIn, Margins outerIn = {}, bool visibleIn = true, bool placedIn = false)
        : size(sizeIn), outer(outerIn), visible(visibleIn), placed(placedIn) {}
    Size size;
    Margins outer;
    bool visible;
    bool placed;
};

struct LayoutCase {
    const char* what;
    std::uint32_t direction;
    Size barSize;
    Margins margins;
    GP::Point contentOffset;
    std::int32_t spacing;
    std::uint32_t flexible;
    std::vector<ChildSpec> children;
    std::vector<GP::Rect> expected;  // position and size of each child afterwards
};

std::shared_ptr<Bar> makeBar(const LayoutCase& c, std::vector<std::shared_ptr<Box>>& boxes)
{
    auto bar = std::make_shared<Bar>();
    bar->setup(c.direction, nullptr);
    bar->setMinimumSize({0, 0});
    bar->setSize(c.barSize);
    bar->setMargins(c.margins);
    bar->setScrollOffset(c.contentOffset);
    bar->setFlexibleElement(c.flexible);
    bar->setSpacing(c.spacing);
    for (const ChildSpec& spec : c.children) {
        auto box = std::make_shared<Box>();
        box->setSize(spec.size);
        box->setOuterMargins(spec.outer);
        box->setVisible(spec.visible);
        box->setExplicitlyPlaced(spec.placed);
        bar->addChild(box);
        boxes.push_back(box);
    }
    return bar;
}

TEST(BarLayout, PlacesChildrenInEveryDirection)
{
    constexpr std::uint32_t none = Bar::kNoFlexibleElement;
    const LayoutCase cases[] = {
        {"stacked, spacing 4", 16, {100, 80}, {5, 6, 7, 8}, {}, 4, none,
         {{{0, 10}}, {{0, 20}}},
         {{0, 0, 88, 10}, {0, 14, 88, 34}}},
        {"right to left without margins", 4096, {100, 40}, {}, {}, 5, none,
         {{{30, 0}}, {{20, 0}}},
         {{70, 0, 100, 40}, {45, 0, 65, 40}}},
        {"bottom to top ends at the inner bottom, not past it", 256, {50, 100}, {0, 10, 0, 10}, {}, 5, none,
         {{{0, 20}}, {{0, 30}}},
         {{0, 60, 50, 80}, {0, 25, 50, 55}}},
        {"right to left ends at the inner right edge", 4096, {100, 20}, {10, 0, 10, 0}, {}, 0, none,
         {{{30, 0}}},
         {{50, 0, 80, 20}}},
        {"left to right with outer margins", 1, {100, 50}, {1, 1, 1, 1}, {}, 2, none,
         {{{10, 0}, {2, 3, 4, 5}}, {{10, 0}}},
         {{2, 3, 12, 43}, {18, 0, 28, 48}}},
        {"flexible child takes the rest", 1, {200, 30}, {10, 0, 10, 0}, {}, 5, 1,
         {{{40, 0}}, {{0, 0}}, {{60, 0}}},
         {{0, 0, 40, 30}, {45, 0, 115, 30}, {120, 0, 180, 30}}},
        {"flexible child stacked", 16, {30, 100}, {0, 5, 0, 5}, {}, 0, 0,
         {{{0, 0}, {0, 2, 0, 3}}, {{0, 20}}},
         {{0, 2, 30, 67}, {0, 70, 30, 90}}},
        {"content offset narrows the breadth", 16, {100, 50}, {5, 0, 5, 0}, {6, 3}, 0, none,
         {{{0, 10}}},
         {{0, 0, 84, 10}}},
        {"hidden and placed children keep their places", 1, {100, 20}, {}, {}, 0, none,
         {{{10, 5}, {}, false}, {{10, 5}, {}, true, true}, {{10, 0}}},
         {{0, 0, 10, 5}, {0, 0, 10, 5}, {0, 0, 10, 20}}},
        {"unknown direction leaves children alone", 2, {100, 20}, {}, {}, 0, 0,
         {{{10, 5}}},
         {{0, 0, 10, 5}}},
    };
    for (const LayoutCase& c : cases) {
        std::vector<std::shared_ptr<Box>> boxes;
        auto bar = makeBar(c, boxes);
        bar->updateSize();
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            const GP::Rect got = GP::Rect::fromSize(boxes[i]->getPosition().x, boxes[i]->getPosition().y,
                                                    boxes[i]->getWidth(), boxes[i]->getHeight());
            EXPECT_EQ(got, c.expected[i]) << c.what << ", child " << i << ": " << got.left << "," << got.top
                                          << "," << got.right << "," << got.bottom;
        }
    }
}

TEST(BarLayout, BreadthFitsTheWidestVisibleChild)
{
    struct Case {
        std::uint32_t direction;
        Size expected;
    };
    for (const Case& c : {Case{16, {3 + 4 + 70, 50}}, Case{1, {200, 1 + 2 + 33}}}) {
        std::vector<std::shared_ptr<Box>> boxes;
        LayoutCase layout{"", c.direction, {200, 50}, {3, 1, 4, 2}, {}, 0, Bar::kNoFlexibleElement,
                          {{{30, 20}}, {{70, 33}, {}, true, true}, {{90, 90}, {}, false}, {{20, 10}, {2, 0, 0, 0}}},
                          {}};
        auto bar = makeBar(layout, boxes);
        bar->fitBreadthToChildren();
        EXPECT_EQ(bar->getSize(), c.expected) << c.direction;
    }
    auto empty = std::make_shared<Bar>();
    empty->setup(16, nullptr);
    empty->setMinimumSize({0, 0});
    empty->setMargins(2, 0, 3, 0);
    empty->fitBreadthToChildren();
    EXPECT_EQ(empty->getWidth(), 5);
}

TEST(BarLayout, ComputedLengthIgnoresOnlyTheLength)
{
    auto bar = std::make_shared<Bar>();
    bar->setup(1, nullptr);
    bar->setMinimumSize({0, 0});
    bar->setSize(50, 50);
    bar->setLengthComputed(true);
    bar->setWidth(80);
    bar->setHeight(90);
    EXPECT_EQ(bar->getSize(), (Size{50, 90}));
}

}  // namespace
}  // namespace QX::NWL
