#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <vector>

#include "../src/common/RegionPool.h"
#include "gp/Region.h"

using namespace QX::GP;

namespace {

constexpr int kGrid = 24;

// The reference: a region as a set of pixels on a small grid.
using Pixels = std::vector<bool>;

// A rectangle or a region, pixel by pixel.
template <typename Shape>
Pixels pixelsOf(const Shape& shape)
{
    Pixels p(kGrid * kGrid);
    for (int y = 0; y < kGrid; ++y)
        for (int x = 0; x < kGrid; ++x)
            p[y * kGrid + x] = shape.contains(Point{x, y});
    return p;
}

// The list's own invariants: disjoint non-empty nodes, a true count and
// the tight bounding rectangle.
void expectWellFormed(const Region& region)
{
    std::uint32_t count = 0;
    Rect bounds;
    for (const RegionNode* a = region.first(); a; a = a->next) {
        ++count;
        EXPECT_FALSE(a->rect.isEmpty());
        bounds.unite(a->rect);
        for (const RegionNode* b = a->next; b; b = b->next)
            EXPECT_FALSE(a->rect.intersects(b->rect));
    }
    EXPECT_EQ(count, region.count());
    EXPECT_EQ(bounds, region.bounds());
}

class RegionTest : public testing::Test {
protected:
    RegionTest() { acquireRegionPool(); }
    ~RegionTest() override { releaseRegionPool(); }

    Rect randomRect()
    {
        std::uniform_int_distribution<int> coordinate(0, kGrid);
        int a = coordinate(random_), b = coordinate(random_), c = coordinate(random_), d = coordinate(random_);
        // Now and then an empty or inverted one.
        return Rect{a, b, c, d};
    }

    Region randomRegion(Pixels& model)
    {
        Region region;
        model.assign(kGrid * kGrid, false);
        const int rects = std::uniform_int_distribution<int>(0, 6)(random_);
        for (int i = 0; i < rects; ++i) {
            const Rect r = randomRect();
            region.addRect(r);
            const Pixels p = pixelsOf(r);
            for (std::size_t k = 0; k < model.size(); ++k)
                model[k] = model[k] || p[k];
        }
        return region;
    }

    std::mt19937 random_{12345};
};

TEST_F(RegionTest, AddUniteIntersectMatchPixelModel)
{
    for (int round = 0; round < 400; ++round) {
        Pixels ma, mb;
        Region a = randomRegion(ma);
        Region b = randomRegion(mb);
        EXPECT_EQ(pixelsOf(a), ma);
        expectWellFormed(a);

        Region both;
        both.unite(a, b);
        Region common;
        common.intersect(a, b);
        Pixels unionModel(ma.size()), intersectionModel(ma.size());
        for (std::size_t k = 0; k < ma.size(); ++k) {
            unionModel[k] = ma[k] || mb[k];
            intersectionModel[k] = ma[k] && mb[k];
        }
        EXPECT_EQ(pixelsOf(both), unionModel);
        EXPECT_EQ(pixelsOf(common), intersectionModel);
        expectWellFormed(both);
        expectWellFormed(common);

        const Rect clip = randomRect();
        Region clipped(a);
        clipped.intersect(clip);
        Pixels clipModel = pixelsOf(clip);
        for (std::size_t k = 0; k < ma.size(); ++k)
            clipModel[k] = clipModel[k] && ma[k];
        EXPECT_EQ(pixelsOf(clipped), clipModel);
        expectWellFormed(clipped);

        // In place, with the region itself as an operand.
        a.unite(a, b);
        EXPECT_EQ(pixelsOf(a), unionModel);
        b.intersect(b, common);
        EXPECT_EQ(pixelsOf(b), intersectionModel);
    }
}

TEST_F(RegionTest, TestRectAndFindIntersectingRectMatchPixelModel)
{
    for (int round = 0; round < 400; ++round) {
        Pixels model;
        const Region region = randomRegion(model);
        const Rect probe = randomRect();
        const Pixels p = pixelsOf(probe);
        int inside = 0, total = 0;
        for (std::size_t k = 0; k < p.size(); ++k) {
            total += p[k];
            inside += p[k] && model[k];
        }
        const int expected = total == 0 || inside == 0 ? Region::kOutside
                             : inside == total         ? Region::kInside
                                                       : Region::kPartial;
        EXPECT_EQ(Region::testRect(region, probe), expected);
        const RegionNode* hit = Region::findIntersectingRect(region.first(), probe);
        EXPECT_EQ(hit != nullptr, inside > 0);
        if (hit) {
            EXPECT_TRUE(hit->rect.intersects(probe));
            // Walking on from the hit finds only overlapping nodes.
            for (const RegionNode* n = Region::findIntersectingRect(hit->next, probe); n;
                 n = Region::findIntersectingRect(n->next, probe))
                EXPECT_TRUE(n->rect.intersects(probe));
        }
    }
}

TEST_F(RegionTest, SetRectOffsetAndCopies)
{
    Region region(Rect{1, 2, 5, 6});
    EXPECT_EQ(region.count(), 1u);
    region.setRect(Rect{5, 5, 5, 9});
    EXPECT_TRUE(region.isEmpty());
    EXPECT_EQ(region.bounds(), Rect{});

    region.setRect(Rect{0, 0, 4, 4});
    region.addRect(Rect{2, 2, 8, 8});
    Region copy(region);
    region.offset(10, -2);
    EXPECT_EQ(region.bounds(), (Rect{10, -2, 18, 6}));
    EXPECT_TRUE(region.contains(Point{11, -1}));
    EXPECT_FALSE(region.contains(Point{17, -1}));
    EXPECT_EQ(copy.bounds(), (Rect{0, 0, 8, 8}));

    Region moved(std::move(copy));
    EXPECT_TRUE(copy.isEmpty());
    copy = moved;
    EXPECT_EQ(pixelsOf(copy), pixelsOf(moved));
    moved.freeRectangles();
    EXPECT_EQ(moved.count(), 0u);
    EXPECT_EQ(moved.first(), nullptr);
}

TEST_F(RegionTest, ExtremeRectanglesNeitherOverflowNorCrash)
{
    constexpr std::int32_t lo = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t hi = std::numeric_limits<std::int32_t>::max();
    const Rect huge{lo, lo, hi, hi};
    EXPECT_EQ(huge.width(), 0xFFFFFFFFll);
    EXPECT_EQ(Rect::fromSize(hi - 1, 0, 100, -5), (Rect{hi - 1, 0, hi, -5}));

    Region region(huge);
    region.addRect(Rect{0, 0, 10, 10});
    EXPECT_EQ(region.count(), 1u);
    EXPECT_EQ(Region::testRect(region, Rect{-5, -5, 5, 5}), Region::kInside);
    region.addRect(Rect{hi, hi, lo, lo});  // inverted: empty
    EXPECT_EQ(region.count(), 1u);

    // Moving to the limit squeezes rectangles to nothing instead of wrapping.
    Region edge(Rect{0, 0, 10, 10});
    edge.addRect(Rect{-100, 0, -50, 10});
    edge.offset(hi, 0);
    EXPECT_EQ(edge.count(), 1u);
    EXPECT_EQ(edge.bounds(), (Rect{hi - 100, 0, hi - 50, 10}));

    Rect r{0, 0, 10, 10};
    r.intersect(Rect{20, 20, 30, 30});
    EXPECT_EQ(r, Rect{});
}

TEST(RegionPool, FreedOnlyWhenUnreferencedAndNoNodeOutstanding)
{
    acquireRegionPool();
    auto region = std::make_unique<Region>(Rect{0, 0, 1, 1});
    for (int i = 1; i < 10000; ++i)  // more nodes than one chunk holds
        region->addRect(Rect{i * 2, 0, i * 2 + 1, 1});
    const std::size_t chunks = DETAIL::regionPoolChunkCount();
    EXPECT_GT(chunks, 1u);
    releaseRegionPool();
    // The region still owns nodes: the memory must stay.
    EXPECT_EQ(DETAIL::regionPoolChunkCount(), chunks);
    region->addRect(Rect{-5, 5, -4, 6});
    EXPECT_EQ(region->count(), 10001u);
    region.reset();
    EXPECT_EQ(DETAIL::regionPoolChunkCount(), 0u);

    // Regions work without a reference too.
    Region unreferenced(Rect{0, 0, 4, 4});
    unreferenced.addRect(Rect{2, 2, 6, 6});
    EXPECT_EQ(Region::testRect(unreferenced, Rect{0, 0, 4, 4}), Region::kInside);
    unreferenced.clear();
    EXPECT_EQ(DETAIL::regionPoolChunkCount(), 0u);
}

}  // namespace
