#pragma once
#include <exception>
#include <string>

namespace QX::GP::Assertion {

// Thrown by `fail` when the process has asked for exceptions.
class exception : public std::exception {
public:
    exception(std::string file, int line, std::string text);

    const std::string& file() const noexcept { return file_; }
    int line() const noexcept { return line_; }
    const std::string& text() const noexcept { return text_; }
    // "Error <file>:<line>" followed by "\n\n<text>" when there is a text.
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string file_;
    int line_;
    std::string text_;
    std::string message_;
};

// Whether a failed assertion throws `exception` (true) or shows the message
// box and ends the process (false, the default).
void setThrowsExceptions(bool throws);
bool throwsExceptions();

// Reports a failed assertion. Throws `exception` when asked to; otherwise
// shows "Error %s:%d" (with "\n\n%s" and the message when there is one) in a
// message box and ends the process. A result of 1 would ask the caller to
// break into the debugger.
int fail(const char* file, int line, const char* message);

}  // namespace QX::GP::Assertion

// Checks a condition and reports a failed assertion with this file and line.
#define QX_ASSERT(condition, message)                                                    \
    ((condition) ? static_cast<void>(0)                                                  \
                 : static_cast<void>(::QX::GP::Assertion::fail(__FILE__, __LINE__, message)))
