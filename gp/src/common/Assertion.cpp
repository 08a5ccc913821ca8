#include "gp/Assertion.h"

#include <atomic>

#include "Platform.h"
#include "gp/MessageBox.h"
#include "gp/Trace.h"

namespace QX::GP::Assertion {
namespace {

std::atomic<bool> throwsFlag{false};

std::string describe(const std::string& file, int line, const std::string& text)
{
    std::string message = "Error " + file + ":" + std::to_string(line);
    if (!text.empty())
        message += "\n\n" + text;
    return message;
}

}  // namespace

exception::exception(std::string file, int line, std::string text)
    : file_(std::move(file)), line_(line), text_(std::move(text)),
      message_(describe(file_, line_, text_))
{
}

void setThrowsExceptions(bool throws) { throwsFlag = throws; }
bool throwsExceptions() { return throwsFlag; }

int fail(const char* file, int line, const char* message)
{
    exception failure(file ? file : "", line, message ? message : "");
    writeTrace(kTraceError, "Assertion", failure.what());
    if (throwsExceptions())
        throw failure;
    MessageBoxRequest request;
    request.text = failure.what();
    request.icon = kIconError;
    showMessageBox(request);
    DETAIL::terminateProcess(3);
}

}  // namespace QX::GP::Assertion
