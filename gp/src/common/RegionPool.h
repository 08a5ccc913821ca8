#pragma once
#include <cstddef>

namespace QX::GP {
struct RegionNode;
}

namespace QX::GP::DETAIL {

RegionNode* allocateRegionNode();
void freeRegionNode(RegionNode* node);
// For tests: how many chunks the pool holds now.
std::size_t regionPoolChunkCount();

}  // namespace QX::GP::DETAIL
