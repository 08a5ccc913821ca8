#pragma once
#include <string>
#include <vector>

namespace QX::UIA::Test {

// Starts another Wine process of this test program with the given arguments
// and extra environment entries ("NAME=value"); answers its process id, or -1.
int startTestProgram(const std::vector<std::string>& arguments, const std::vector<std::string>& environment);
// Whether the process has ended; its exit code then.
bool hasEnded(int processId, int& exitCode);

}  // namespace QX::UIA::Test
