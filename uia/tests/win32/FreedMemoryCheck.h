#pragma once
#include <cstddef>

namespace QX::UIA::Test {

// Finds writes into freed heap memory without a sanitizer (the program
// build has none). While a check runs, every block given back to
// operator delete is filled with a pattern and kept instead of freed;
// ending the check frees the blocks and counts those whose pattern changed.
// A call through a freed object's table then fails on the pattern as well.
// One check at a time, on one thread.
class FreedMemoryCheck {
public:
    FreedMemoryCheck();
    ~FreedMemoryCheck();
    FreedMemoryCheck(const FreedMemoryCheck&) = delete;
    FreedMemoryCheck& operator=(const FreedMemoryCheck&) = delete;

    // Ends the check; answers how many kept blocks were written after
    // they were freed.
    std::size_t end();
};

}  // namespace QX::UIA::Test
