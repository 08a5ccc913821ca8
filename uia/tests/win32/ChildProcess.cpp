#include "ChildProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstring>

extern char** environ;

namespace QX::UIA::Test {

int startTestProgram(const std::vector<std::string>& arguments, const std::vector<std::string>& environment) {
    std::vector<std::string> words = {"/usr/lib/wine/wine64", QX_UIA_TESTS_PROGRAM};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    std::vector<std::string> entries(environment);
    for (char** entry = environ; *entry != nullptr; ++entry)
        if (std::strncmp(*entry, "GTEST_FILTER=", 13) != 0) entries.emplace_back(*entry);
    std::vector<char*> envp;
    for (std::string& entry : entries) envp.push_back(entry.data());
    envp.push_back(nullptr);

    // The child's report would only repeat the parent's verdict.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int result = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return result == 0 ? int(pid) : -1;
}

bool hasEnded(int processId, int& exitCode) {
    int status = 0;
    if (waitpid(pid_t(processId), &status, WNOHANG) != pid_t(processId)) return false;
    exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return true;
}

}  // namespace QX::UIA::Test
