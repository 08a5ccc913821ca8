#include "WindowTestSupport.h"

#include <memory>

#include "uia/HMenu.h"

namespace QX::UIA::Test {
namespace {

class MenuTest : public WindowTest {
protected:
    void SetUp() override {
        window = std::make_unique<RecordingWindow>();
        ASSERT_TRUE(window->create(clientOptions(60, 60, 300, 200, WindowOptions::kZoomMenuItem |
                                                                        WindowOptions::kToolbarMenuItem)));
        hwnd = window->hwnd();
        window->events.clear();
    }
    void TearDown() override {
        window.reset();
        pumpMessages(10);
    }
    std::vector<std::uint32_t> askedItems() const {
        std::vector<std::uint32_t> result;
        for (const auto& event : window->eventsWithId(EventId::kMenuItemStateQuery))
            result.push_back(event.as<MenuItemQuery>().commandId);
        return result;
    }

    std::unique_ptr<RecordingWindow> window;
    HWND hwnd = nullptr;
};

TEST_F(MenuTest, OpeningAPopupAsksForEachPlainItem) {
    HMENU popup = CreatePopupMenu();
    HMENU sub = CreatePopupMenu();
    AppendMenuW(sub, MF_STRING, 300, u"Inner");
    AppendMenuW(popup, MF_STRING, 100, u"First");
    AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), u"More");
    AppendMenuW(popup, MF_STRING, 101, u"Second");
    HMENU seenMenu = nullptr;
    window->handler = [&](std::uint32_t id, void* data) {
        if (id == EventId::kMenuItemStateQuery)
            seenMenu = static_cast<HMENU>(static_cast<MenuItemQuery*>(data)->menu->getHandle());
        return id == EventId::kMenuItemStateQuery;
    };
    EXPECT_EQ(SendMessageW(hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0), 0);
    ASSERT_FALSE(window->events.empty());
    EXPECT_EQ(window->events.front().id, EventId::kMenuAboutToOpen);
    EXPECT_EQ(askedItems(), (std::vector<std::uint32_t>{100, 101}));
    EXPECT_EQ(seenMenu, popup);

    // A prepared menu is not walked.
    window->events.clear();
    window->handler = [](std::uint32_t id, void*) { return id == EventId::kMenuAboutToOpen; };
    EXPECT_EQ(SendMessageW(hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0), 0);
    EXPECT_TRUE(askedItems().empty());
    DestroyMenu(popup);
}

TEST_F(MenuTest, PopupOfSeparatorsAndSubmenusIsAnsweredWithoutQuestions) {
    HMENU popup = CreatePopupMenu();
    AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), u"Sub");
    EXPECT_EQ(SendMessageW(hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0), 0);
    EXPECT_TRUE(askedItems().empty());
    DestroyMenu(popup);
}

TEST_F(MenuTest, SystemMenuGetsTheTwoItemsAndGreysZoomWhenMaximised) {
    HMENU system = GetSystemMenu(hwnd, FALSE);
    const int count = GetMenuItemCount(system);
    ASSERT_GE(count, 3);
    EXPECT_EQ(GetMenuItemID(system, count - 2), SystemMenuCommand::kShowToolbar);
    EXPECT_EQ(GetMenuItemID(system, count - 1), SystemMenuCommand::kZoomWindow);
    char16_t text[64] = {};
    GetMenuStringW(system, SystemMenuCommand::kZoomWindow, text, 64, MF_BYCOMMAND);
    EXPECT_EQ(std::u16string(text), u"&Zoom Window");

    window->setVisible(true);
    window->impl()->maximize();
    pumpMessages(20);
    SendMessageW(hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(system), MAKELPARAM(0, TRUE));
    EXPECT_TRUE(GetMenuState(system, SystemMenuCommand::kZoomWindow, MF_BYCOMMAND) & MF_GRAYED);

    // An owner that answers for the item decides alone.
    window->impl()->restore();
    pumpMessages(20);
    window->handler = [](std::uint32_t id, void* data) {
        return id == EventId::kMenuItemStateQuery &&
               static_cast<MenuItemQuery*>(data)->commandId == SystemMenuCommand::kZoomWindow;
    };
    SendMessageW(hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(system), MAKELPARAM(0, TRUE));
    EXPECT_TRUE(GetMenuState(system, SystemMenuCommand::kZoomWindow, MF_BYCOMMAND) & MF_GRAYED);
    window->handler = nullptr;
    SendMessageW(hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(system), MAKELPARAM(0, TRUE));
    EXPECT_FALSE(GetMenuState(system, SystemMenuCommand::kZoomWindow, MF_BYCOMMAND) & MF_GRAYED);
}

TEST_F(MenuTest, ZoomAppliesTheDefaultSizeOnlyInTheNormalState) {
    window->handler = [](std::uint32_t id, void* data) {
        if (id != EventId::kWindowDefaultSizeWanted) return false;
        *static_cast<DefaultSizeEventData*>(data) = DefaultSizeEventData{250, 180};
        return true;
    };
    EXPECT_FALSE(window->impl()->hasDefaultSize());
    EXPECT_EQ(SendMessageW(hwnd, WM_SYSCOMMAND, SystemMenuCommand::kZoomWindow, 0), 0);
    WindowSize size;
    window->getSize(size, true);
    EXPECT_EQ(size, (WindowSize{250, 180}));
    EXPECT_TRUE(window->impl()->hasDefaultSize());

    window->setVisible(true);
    window->impl()->maximize();
    pumpMessages(20);
    window->getSize(size, true);
    EXPECT_EQ(SendMessageW(hwnd, WM_SYSCOMMAND, SystemMenuCommand::kZoomWindow, 0), 0);
    WindowSize after;
    window->getSize(after, true);
    EXPECT_EQ(after, size);
}

TEST_F(MenuTest, MenuBarKeepsTheClientSizeAndIsNotDestroyedWhenSetAgain) {
    RECT frameBefore{};
    GetWindowRect(hwnd, &frameBefore);
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_STRING, 100, u"&File");
    window->impl()->setMenuBar(HMenuBar(bar));
    EXPECT_EQ(GetMenu(hwnd), bar);
    RECT client{};
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 200);
    RECT frameAfter{};
    GetWindowRect(hwnd, &frameAfter);
    EXPECT_GT(frameAfter.bottom - frameAfter.top, frameBefore.bottom - frameBefore.top);

    window->impl()->setMenuBar(HMenuBar(bar));
    EXPECT_TRUE(IsMenu(bar));
    HMENU replacement = CreateMenu();
    AppendMenuW(replacement, MF_STRING, 101, u"&Edit");
    window->impl()->setMenuBar(HMenuBar(replacement));
    EXPECT_FALSE(IsMenu(bar));
    EXPECT_EQ(GetMenu(hwnd), replacement);
}

TEST(HMenuTest, FindItemSearchesSubmenus) {
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, 10, u"Open");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_STRING, 11, u"Quit");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), u"File");
    AppendMenuW(bar, MF_STRING, 20, u"Help");
    HMenu found;
    std::uint32_t position = 99;
    EXPECT_TRUE(HMenu(bar).findItem(11, found, position));
    EXPECT_EQ(found.getHandle(), file);
    EXPECT_EQ(position, 2u);
    EXPECT_TRUE(HMenu(bar).findItem(20, found, position));
    EXPECT_EQ(found.getHandle(), bar);
    EXPECT_EQ(position, 1u);
    EXPECT_FALSE(HMenu(bar).findItem(12, found, position));
    DestroyMenu(bar);
}

}  // namespace
}  // namespace QX::UIA::Test
