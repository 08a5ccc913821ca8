#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gp/Assertion.h"
#include "gp/MessageBox.h"
#include "gp/Trace.h"

using namespace QX::GP;

namespace {

// Installs a message handler that records the requests and answers `answer`.
class RecordingHandler {
public:
    explicit RecordingHandler(int answer)
    {
        previous_ = setMessageHandler([this, answer](const MessageBoxRequest& request) {
            requests.push_back(request);
            return answer;
        });
    }
    ~RecordingHandler() { setMessageHandler(previous_); }

    std::vector<MessageBoxRequest> requests;

private:
    MessageHandler previous_;
};

TEST(Assertion, ThrowsWithFileLineAndText)
{
    Assertion::setThrowsExceptions(true);
    try {
        Assertion::fail("init_gp", 213, "version mismatch");
        FAIL() << "no exception";
    } catch (const Assertion::exception& e) {
        EXPECT_EQ(e.file(), "init_gp");
        EXPECT_EQ(e.line(), 213);
        EXPECT_EQ(e.text(), "version mismatch");
        EXPECT_STREQ(e.what(), "Error init_gp:213\n\nversion mismatch");
    }
    try {
        Assertion::fail(nullptr, 7, nullptr);
        FAIL() << "no exception";
    } catch (const Assertion::exception& e) {
        EXPECT_STREQ(e.what(), "Error :7");
    }
    EXPECT_THROW(QX_ASSERT(1 + 1 == 3, "arithmetic"), Assertion::exception);
    EXPECT_NO_THROW(QX_ASSERT(true, "fine"));
    Assertion::setThrowsExceptions(false);
}

TEST(MessageBox, HandlerReceivesTheRequest)
{
    RecordingHandler handler(kResultNo);
    const char text[] = "Update now?ignored";
    EXPECT_EQ(showMessageBox(text, 11, kButtonsYesNo, kResultNo, kIconQuestion, nullptr), kResultNo);
    EXPECT_EQ(showMessageBox("x", 1, kButtonsOk, kResultNone, kIconNone, "Title"), kResultNo);
    EXPECT_EQ(showMessageBox(nullptr, 5, kButtonsOk, kResultNone, kIconNone, nullptr), kResultNo);
    ASSERT_EQ(handler.requests.size(), 3u);
    EXPECT_EQ(handler.requests[0].text, "Update now?");
    EXPECT_EQ(handler.requests[0].buttons, kButtonsYesNo);
    EXPECT_EQ(handler.requests[0].defaultButton, kResultNo);
    EXPECT_EQ(handler.requests[0].icon, kIconQuestion);
    EXPECT_EQ(handler.requests[0].caption, "Harmova");
    EXPECT_FALSE(handler.requests[0].systemModal);
    EXPECT_EQ(handler.requests[1].caption, "Title");
    EXPECT_EQ(handler.requests[2].text, "");
}

TEST(MessageBox, HandlersNestAndRestore)
{
    RecordingHandler outer(kResultYes);
    {
        RecordingHandler inner(kResultCancel);
        EXPECT_EQ(showMessageBox("a", 1, kButtonsOkCancel, kResultCancel, kIconWarning, nullptr), kResultCancel);
    }
    EXPECT_EQ(showMessageBox("b", 1, kButtonsYesNo, kResultYes, kIconWarning, nullptr), kResultYes);
    EXPECT_EQ(outer.requests.size(), 1u);
}

TEST(Trace, ChannelsLevelsAndSink)
{
    std::vector<std::string> lines;
    TraceSink previous = setTraceSink([&lines](std::string_view line) { lines.emplace_back(line); });
    writeTrace("DFUDevice", "opened");
    traceFormat("DFUDevice", "%s: timed out after %d ms\n", "deviceIoControl", 500);
    setTraceChannelEnabled("DFUDevice", false);
    EXPECT_FALSE(isTraceChannelEnabled("DFUDevice"));
    EXPECT_TRUE(isTraceChannelEnabled(""));
    writeTrace("DFUDevice", "dropped");
    setTraceChannelEnabled("", false);
    EXPECT_TRUE(isTraceChannelEnabled(""));
    writeTrace("", "always");
    setTraceChannelEnabled("DFUDevice", true);
    const int level = getTraceLevel();
    setTraceLevel(kTraceWarning);
    writeTrace(kTraceVerbose, "DFUDevice", "too detailed");
    writeTrace(kTraceError, "DFUDevice", "failed");
    setTraceLevel(level);
    setTraceSink(previous);
    EXPECT_EQ(lines, (std::vector<std::string>{"DFUDevice: opened",
                                               "DFUDevice: deviceIoControl: timed out after 500 ms",
                                               ": always", "DFUDevice: failed"}));
}

}  // namespace
