#pragma once
#include <cstdint>

#include "gp/Geometry.h"

namespace QX::GP {

// One node of a region's rectangle list; nodes come from the process-wide
// region pool (24-byte nodes, 8192 per chunk).
struct RegionNode {
    RegionNode* next = nullptr;
    Rect rect;
};

// Takes a reference on the process-wide region-node pool; the first one
// creates it. `releaseRegionPool` drops one; the last frees the pool.
// Regions may be used only while the pool is held.
void acquireRegionPool();
void releaseRegionPool();

// A region held as a list of non-overlapping rectangles with a bounding
// rectangle.
class Region {
public:
    Region() = default;
    explicit Region(const Rect& rect);
    Region(const Region& other);
    Region& operator=(const Region& other);
    Region(Region&& other) noexcept;
    Region& operator=(Region&& other) noexcept;
    // Returns every node to the pool.
    ~Region();

    bool isEmpty() const { return count_ == 0; }
    std::uint32_t count() const { return count_; }
    const Rect& bounds() const { return bounds_; }
    const RegionNode* first() const { return head_; }

    // Makes the region that one rectangle; an empty rectangle gives the
    // empty region.
    void setRect(const Rect& rect);
    void clear();
    // Unites one rectangle into the region.
    void addRect(const Rect& rect);
    // The region becomes a united with b, or a intersected with b.
    void unite(const Region& a, const Region& b);
    void intersect(const Region& a, const Region& b);
    void intersect(const Rect& rect);
    // Moves the bounding rectangle and every rectangle.
    void offset(std::int32_t dx, std::int32_t dy);
    bool contains(Point p) const;

    enum TestResult { kInside = 0, kOutside = 1, kPartial = 2 };
    // 0 when the rectangle lies wholly inside the region, 1 wholly outside,
    // 2 partly inside. An empty rectangle counts as outside.
    static int testRect(const Region& region, const Rect& rect);
    // The first node, from `start` on, that overlaps `rect`, or null.
    static const RegionNode* findIntersectingRect(const RegionNode* start, const Rect& rect);

    // Returns every node to the pool; the count and bounds are reset too.
    void freeRectangles();

private:
    void appendNode(const Rect& rect);
    void recomputeBounds();
    // Returns to the pool every node `drop` answers true for; the bounds are
    // left to the caller.
    template <typename Predicate>
    void removeNodesIf(Predicate drop);

    RegionNode* head_ = nullptr;
    std::uint32_t count_ = 0;
    Rect bounds_;
};

}  // namespace QX::GP
