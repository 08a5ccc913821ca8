#pragma once

namespace QX::GP {

// Whether the processor runs AVX2 instructions, asked once; false on
// processors of other families. Row loops with an AVX2 path choose it by this.
bool hasAvx2();

}  // namespace QX::GP
