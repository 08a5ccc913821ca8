#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "nwl/widgets/Bar.h"
#include "nwl/widgets/Button.h"
#include "uia/WindowEvents.h"
#include "WidgetsTestSupport.h"

namespace QX::NWL {
namespace {

// Two buttons side by side in a pane: "a" at x 0..18, "b" at x 18..36.
class ButtonEvents : public ::testing::Test {
public:
    void SetUp() override
    {
        auto bar = std::make_shared<Bar>();
        bar->setup(Bar::eLeftToRight, nullptr);
        a = std::make_shared<Button>();
        a->setup("A", nullptr);
        b = std::make_shared<Button>();
        b->setup("B", nullptr);
        bar->addChild(a, "a");
        bar->addChild(b, "b");
        pane.setSize(100, 18);
        pane.setRootWidget(bar);
        Testing::settle(pane);
        record(*a, log);
    }

    // Logs each signal by name, with '+' when it reports a held press.
    static void record(Button& button, std::vector<std::string>& out)
    {
        auto add = [&out](const char* what) {
            return [&out, what](const Button::tSignalData& data) {
                out.push_back(std::string(what) + (data.pressed ? "+" : ""));
            };
        };
        button.pointerSignal.connect([add](const Button::tSignalData& data, const GP::Point&) { add("pointer")(data); });
        for (auto [what, signal] : {std::pair{"released", &button.releasedSignal},
                                    {"alternate", &button.alternateSignal}, {"enter", &button.enterSignal},
                                    {"leave", &button.leaveSignal}, {"hover", &button.hoverSignal},
                                    {"repeat", &button.repeatSignal}, {"cancel", &button.cancelSignal}})
            signal->connect(add(what));
    }

    void position(std::uint32_t id, int x)
    {
        UIA::MousePositionEvent event{x, 5, 0};
        pane.handleMouseEvent(id, &event);
    }
    void move(int x) { position(1002, x); }
    void movePressed(int x) { position(1001, x); }
    void loseCapture() { position(1005, 5); }
    void button(int x, std::uint32_t action)
    {
        UIA::MouseButtonEvent event{x, 5, 0, 1, action};
        pane.handleMouseEvent(1000, &event);
    }
    void press(int x) { button(x, 1); }
    void release(int x) { button(x, 2); }
    void doubleClick(int x) { button(x, 3); }
    void ticks(int count)
    {
        for (int i = 0; i < count; ++i)
            pane.dispatchTimers();
    }

    Pane pane;
    std::shared_ptr<Button> a;
    std::shared_ptr<Button> b;
    std::vector<std::string> log;
};

using Log = std::vector<std::string>;

TEST_F(ButtonEvents, ClicksReportTheirRelease)
{
    struct Case {
        const char* what;
        std::function<void(ButtonEvents&)> act;
        Log expected;
    };
    const Case cases[] = {
        {"click", [](ButtonEvents& t) { t.press(5); t.release(5); }, {"enter", "pointer", "cancel", "released"}},
        {"release elsewhere", [](ButtonEvents& t) { t.press(5); t.movePressed(25); t.release(25); },
         {"enter", "pointer", "cancel"}},
        {"double click", [](ButtonEvents& t) { t.press(5); t.release(5); t.doubleClick(5); t.release(5); },
         {"enter", "pointer", "cancel", "released", "pointer", "pointer+", "released+", "cancel"}},
    };
    for (const Case& c : cases) {
        log.clear();
        move(5);
        c.act(*this);
        EXPECT_EQ(log, c.expected) << c.what;
        move(60);
    }
}

TEST_F(ButtonEvents, HoverAfterItsDelayOrCutShortByAPress)
{
    a->setHoverDelay(3);
    move(5);
    ticks(2);
    EXPECT_EQ(log, (Log{"enter"}));
    ticks(1);
    EXPECT_EQ(log, (Log{"enter", "hover"}));

    log.clear();
    move(25);
    move(5);
    ticks(1);
    press(5);
    release(5);
    ticks(5);
    EXPECT_EQ(log, (Log{"leave", "enter", "hover", "pointer", "cancel", "released"}));
}

TEST_F(ButtonEvents, RepeatWhileHeldUntilReleaseOrLeave)
{
    const int firstDelay = pane.getTimerInterval(0);
    const int interval = pane.getTimerInterval(1);
    struct Case {
        const char* what;
        std::function<void(ButtonEvents&)> end;
        Log ending;
    };
    const Case cases[] = {
        {"release", [](ButtonEvents& t) { t.release(5); }, {"cancel", "released"}},
        {"leave", [](ButtonEvents& t) { t.loseCapture(); }, {"leave"}},
        {"press taken away", [](ButtonEvents& t) { t.pane.setPressedWidget(nullptr); }, {}},
    };
    for (const Case& c : cases) {
        log.clear();
        move(5);
        press(5);
        ticks(firstDelay - 1);
        EXPECT_EQ(log.size(), 2u) << c.what;
        ticks(1);
        ticks(interval * 2);
        c.end(*this);
        ticks(20);
        Log expected{"enter", "pointer", "repeat", "repeat", "repeat"};
        expected.insert(expected.end(), c.ending.begin(), c.ending.end());
        EXPECT_EQ(log, expected) << c.what;
        loseCapture();
    }
}

TEST_F(ButtonEvents, ActivationKey)
{
    const WidgetKeyEvent key{5, 0, true};
    EXPECT_TRUE(a->onKeyEvent(1100, key));
    EXPECT_TRUE(log.empty());
    a->setKeyAction(1);
    EXPECT_TRUE(a->onKeyEvent(1100, key));
    a->setKeyAction(2);
    EXPECT_TRUE(a->onKeyEvent(1100, key));
    EXPECT_FALSE(a->onKeyEvent(1101, key));
    EXPECT_FALSE(a->onKeyEvent(1100, WidgetKeyEvent{6, 0, true}));
    EXPECT_EQ(log, (Log{"released", "alternate"}));
}

TEST_F(ButtonEvents, TracksHoverWithoutTakingFocus)
{
    EXPECT_TRUE(a->hasFlags(WidgetFlag::kTracksHover));
    EXPECT_FALSE(a->hasFlags(WidgetFlag::kFocusable));
}

}  // namespace
}  // namespace QX::NWL
