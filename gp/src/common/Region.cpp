#include "gp/Region.h"

#include <utility>
#include <vector>

#include "RegionPool.h"

namespace QX::GP {
namespace {

// Appends the parts of `piece` that lie outside `hole` to `out`.
void subtract(const Rect& piece, const Rect& hole, std::vector<Rect>& out)
{
    if (!piece.intersects(hole)) {
        out.push_back(piece);
        return;
    }
    std::int32_t top = piece.top;
    std::int32_t bottom = piece.bottom;
    if (hole.top > top) {
        out.push_back({piece.left, top, piece.right, hole.top});
        top = hole.top;
    }
    if (hole.bottom < bottom) {
        out.push_back({piece.left, hole.bottom, piece.right, bottom});
        bottom = hole.bottom;
    }
    if (hole.left > piece.left)
        out.push_back({piece.left, top, hole.left, bottom});
    if (hole.right < piece.right)
        out.push_back({hole.right, top, piece.right, bottom});
}

// The parts of `rect` that no node from `first` on covers.
std::vector<Rect> uncoveredParts(const Rect& rect, const RegionNode* first)
{
    std::vector<Rect> pieces{rect};
    std::vector<Rect> next;
    for (const RegionNode* node = first; node && !pieces.empty(); node = node->next) {
        if (!node->rect.intersects(rect))
            continue;
        next.clear();
        for (const Rect& piece : pieces)
            subtract(piece, node->rect, next);
        pieces.swap(next);
    }
    return pieces;
}

}  // namespace

Region::Region(const Rect& rect) { setRect(rect); }

Region::Region(const Region& other)
{
    for (const RegionNode* node = other.head_; node; node = node->next)
        appendNode(node->rect);
    bounds_ = other.bounds_;
}

Region& Region::operator=(const Region& other)
{
    if (this != &other) {
        Region copy(other);
        *this = std::move(copy);
    }
    return *this;
}

Region::Region(Region&& other) noexcept
    : head_(std::exchange(other.head_, nullptr)),
      count_(std::exchange(other.count_, 0)),
      bounds_(std::exchange(other.bounds_, Rect{}))
{
}

Region& Region::operator=(Region&& other) noexcept
{
    if (this != &other) {
        freeRectangles();
        head_ = std::exchange(other.head_, nullptr);
        count_ = std::exchange(other.count_, 0);
        bounds_ = std::exchange(other.bounds_, Rect{});
    }
    return *this;
}

Region::~Region() { freeRectangles(); }

void Region::freeRectangles()
{
    while (head_) {
        RegionNode* next = head_->next;
        DETAIL::freeRegionNode(head_);
        head_ = next;
    }
    count_ = 0;
    bounds_ = Rect{};
}

void Region::clear() { freeRectangles(); }

void Region::appendNode(const Rect& rect)
{
    // New nodes go in front: the order of the list carries no meaning.
    RegionNode* node = DETAIL::allocateRegionNode();
    node->rect = rect;
    node->next = head_;
    head_ = node;
    ++count_;
    bounds_.unite(rect);
}

template <typename Predicate>
void Region::removeNodesIf(Predicate drop)
{
    RegionNode** link = &head_;
    while (*link) {
        RegionNode* node = *link;
        if (drop(*node)) {
            *link = node->next;
            DETAIL::freeRegionNode(node);
            --count_;
        } else {
            link = &node->next;
        }
    }
}

void Region::recomputeBounds()
{
    bounds_ = Rect{};
    for (const RegionNode* node = head_; node; node = node->next)
        bounds_.unite(node->rect);
}

void Region::setRect(const Rect& rect)
{
    freeRectangles();
    if (!rect.isEmpty())
        appendNode(rect);
}

void Region::addRect(const Rect& rect)
{
    if (rect.isEmpty())
        return;
    // Nodes that the new rectangle covers wholly are dropped first, so that
    // repeated additions over the same area do not pile up fragments.
    removeNodesIf([&rect](const RegionNode& node) { return rect.contains(node.rect); });
    for (const Rect& piece : uncoveredParts(rect, head_))
        appendNode(piece);
    // The dropped nodes lay inside `rect`, so the bounds only grow by it.
    bounds_.unite(rect);
}

void Region::unite(const Region& a, const Region& b)
{
    Region result(a);
    for (const RegionNode* node = b.head_; node; node = node->next)
        result.addRect(node->rect);
    *this = std::move(result);
}

void Region::intersect(const Region& a, const Region& b)
{
    // The nodes of each region are disjoint, so the pairwise overlaps are too.
    Region result;
    if (a.bounds_.intersects(b.bounds_)) {
        for (const RegionNode* p = a.head_; p; p = p->next) {
            for (const RegionNode* q = b.head_; q; q = q->next) {
                Rect overlap = p->rect;
                overlap.intersect(q->rect);
                if (!overlap.isEmpty())
                    result.appendNode(overlap);
            }
        }
    }
    *this = std::move(result);
}

void Region::intersect(const Rect& rect)
{
    removeNodesIf([&rect](RegionNode& node) {
        node.rect.intersect(rect);
        return node.rect.isEmpty();
    });
    recomputeBounds();
}

void Region::offset(std::int32_t dx, std::int32_t dy)
{
    // Offsets saturate at the limits of 32 bits; rectangles squeezed to
    // nothing there are dropped.
    removeNodesIf([dx, dy](RegionNode& node) {
        node.rect.offset(dx, dy);
        return node.rect.isEmpty();
    });
    recomputeBounds();
}

bool Region::contains(Point p) const
{
    if (!bounds_.contains(p))
        return false;
    for (const RegionNode* node = head_; node; node = node->next)
        if (node->rect.contains(p))
            return true;
    return false;
}

int Region::testRect(const Region& region, const Rect& rect)
{
    if (rect.isEmpty() || !region.bounds_.intersects(rect) || !findIntersectingRect(region.head_, rect))
        return kOutside;
    return uncoveredParts(rect, region.head_).empty() ? kInside : kPartial;
}

const RegionNode* Region::findIntersectingRect(const RegionNode* start, const Rect& rect)
{
    for (const RegionNode* node = start; node; node = node->next)
        if (node->rect.intersects(rect))
            return node;
    return nullptr;
}

}  // namespace QX::GP
