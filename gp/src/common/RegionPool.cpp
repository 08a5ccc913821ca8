#include <cstdlib>
#include <memory>
#include <mutex>
#include <new>
#include <vector>

#include "RegionPool.h"
#include "gp/Region.h"

namespace QX::GP {
namespace {

static_assert(sizeof(RegionNode) == 24, "region nodes are 24 bytes");
constexpr std::size_t kNodesPerChunk = 8192;

// The process-wide pool of region nodes. Its chunks are freed only when no
// reference is held and no node is outstanding, so a region that outlives
// the last release still owns valid memory. A region used while no
// reference is held gets its nodes all the same: the pool is made on demand.
class RegionPool {
public:
    void acquire()
    {
        std::lock_guard lock(mutex_);
        ++references_;
    }

    void release()
    {
        std::lock_guard lock(mutex_);
        if (references_ > 0)
            --references_;
        freeChunksIfUnused();
    }

    RegionNode* allocate()
    {
        std::lock_guard lock(mutex_);
        if (!freeList_)
            addChunk();
        RegionNode* node = freeList_;
        freeList_ = node->next;
        ++outstanding_;
        return new (node) RegionNode{};
    }

    void deallocate(RegionNode* node)
    {
        std::lock_guard lock(mutex_);
        node->next = freeList_;
        freeList_ = node;
        --outstanding_;
        freeChunksIfUnused();
    }

    std::size_t chunkCount()
    {
        std::lock_guard lock(mutex_);
        return chunks_.size();
    }

private:
    void addChunk()
    {
        auto chunk = std::make_unique<RegionNode[]>(kNodesPerChunk);
        for (std::size_t i = 0; i < kNodesPerChunk; ++i)
            chunk[i].next = i + 1 < kNodesPerChunk ? &chunk[i + 1] : freeList_;
        freeList_ = &chunk[0];
        chunks_.push_back(std::move(chunk));
    }

    void freeChunksIfUnused()
    {
        if (references_ == 0 && outstanding_ == 0) {
            chunks_.clear();
            freeList_ = nullptr;
        }
    }

    std::mutex mutex_;
    std::vector<std::unique_ptr<RegionNode[]>> chunks_;
    RegionNode* freeList_ = nullptr;
    std::size_t references_ = 0;
    std::size_t outstanding_ = 0;
};

RegionPool& pool()
{
    // Never destroyed: regions held by static objects may give their nodes
    // back during static destruction.
    static RegionPool* instance = new RegionPool;
    return *instance;
}

}  // namespace

void acquireRegionPool() { pool().acquire(); }
void releaseRegionPool() { pool().release(); }

namespace DETAIL {

RegionNode* allocateRegionNode() { return pool().allocate(); }
void freeRegionNode(RegionNode* node) { pool().deallocate(node); }
std::size_t regionPoolChunkCount() { return pool().chunkCount(); }

}  // namespace DETAIL
}  // namespace QX::GP
