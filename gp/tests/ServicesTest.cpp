#include <gtest/gtest.h>

#include <atomic>
#include <set>

#include "gp/Module.h"
#include "gp/PerformanceCounter.h"
#include "gp/Resources.h"
#include "gp/Stream.h"
#include "gp/Thread.h"
#include "gp/Uuid.h"

using namespace QX::GP;

namespace {

TEST(Uuid, FormatAndVersion)
{
    std::uint8_t bytes[16];
    for (int i = 0; i < 16; ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 17);
    EXPECT_EQ(uuidToString(bytes), "00112233-4455-6677-8899-aabbccddeeff");
    EXPECT_EQ(uuidToString(nullptr), "");

    std::set<std::string> seen;
    for (int i = 0; i < 50; ++i) {
        const Uuid uuid = makeRandomUuid();
        EXPECT_EQ(uuid[6] >> 4, 4);
        EXPECT_EQ(uuid[8] >> 6, 2);
        const std::string text = uuidToString(uuid);
        EXPECT_EQ(text.size(), 36u);
        EXPECT_EQ(text[14], '4');
        seen.insert(text);
    }
    EXPECT_EQ(seen.size(), 50u);
}

TEST(PerformanceCounter, AdvancesAndConverts)
{
    const std::uint64_t frequency = getPerformanceCounterFrequency();
    ASSERT_GT(frequency, 0u);
    const std::uint64_t start = getPerformanceCounter();
    sleepMilliseconds(20);
    const std::uint64_t elapsed = performanceCounterToMilliseconds(getPerformanceCounter() - start);
    EXPECT_GE(elapsed, 15u);
    EXPECT_EQ(performanceCounterToMilliseconds(frequency * 3), 3000u);
    // No overflow for values whose product with 1000 exceeds 64 bits.
    EXPECT_EQ(performanceCounterToMilliseconds(frequency * 1000000000ull / 1000 * 1000),
              1000000000ull * 1000);
}

TEST(Module, ExecutablePath)
{
    const Path& path = getModuleFilePath();
    EXPECT_TRUE(path.isAbsolute());
    EXPECT_NE(path.name().find("gp_tests"), std::string::npos);
    EXPECT_EQ(&getModuleFilePath(), &path);
}

TEST(Resources, RegisteredResourcesAndMissingOnes)
{
    registerResource("Bg_Header.png", "picture", {1, 2, 3});
    registerResource(7, "TTFD", {9});
    auto stream = createResourceStream("BG_HEADER.PNG", "PICTURE");
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->getSize(), 3);
    auto font = createResourceStream(7, "TTFd");
    ASSERT_NE(font, nullptr);
    auto alsoFont = createResourceStream("#7", "ttfd");
    ASSERT_NE(alsoFont, nullptr);
    std::uint8_t byte = 0;
    EXPECT_EQ(alsoFont->read(&byte, 1), 1u);
    EXPECT_EQ(byte, 9);

    EXPECT_EQ(createResourceStream("missing", "PICTURE"), nullptr);
    EXPECT_EQ(createResourceStream(8, "TTFD"), nullptr);
    EXPECT_EQ(createResourceStream(-5, "TTFD"), nullptr);
    EXPECT_EQ(createResourceStream(70000, "TTFD"), nullptr);
    EXPECT_EQ(createResourceStream("", ""), nullptr);
    ResourceStream missing;
    EXPECT_FALSE(missing.openByName(nullptr, "nothing", "PICTURE"));
    EXPECT_EQ(missing.getState(), kStreamFailed);

    // Registering again replaces the bytes for new streams; streams already
    // open keep reading the bytes they were given.
    registerResource(7, "TTFD", {4, 5});
    EXPECT_EQ(createResourceStream(7, "TTFD")->getSize(), 2);
    EXPECT_TRUE(font->seek(0, kSeekStart));
    EXPECT_EQ(font->read(&byte, 1), 1u);
    EXPECT_EQ(byte, 9);

    unregisterAllResources();
    EXPECT_EQ(createResourceStream(7, "TTFD"), nullptr);
}

TEST(ResourceId, NamesAndNumbers)
{
    EXPECT_TRUE(ResourceId("#12").isNumber());
    EXPECT_EQ(ResourceId("#12").number(), 12);
    EXPECT_EQ(ResourceId("abc").name(), "ABC");
    EXPECT_FALSE(ResourceId("#").isNumber());
    EXPECT_FALSE(ResourceId("#1x").isNumber());
    EXPECT_FALSE(ResourceId("#99999").isNumber());
    EXPECT_EQ(ResourceId(5).name(), "");
    EXPECT_EQ(ResourceId("#5"), ResourceId(5));
}

TEST(Thread, TimedJoinAndJoinOnDestruction)
{
    std::atomic<bool> release{false};
    std::atomic<int> runs{0};
    {
        Thread thread;
        EXPECT_FALSE(thread.joinable());
        thread.start([&] {
            while (!release)
                sleepMilliseconds(1);
            ++runs;
        });
        EXPECT_TRUE(thread.joinable());
        EXPECT_THROW(thread.start([] {}), std::logic_error);
        EXPECT_FALSE(thread.timedJoin(20));
        EXPECT_TRUE(thread.joinable());
        release = true;
        EXPECT_TRUE(thread.timedJoin(5000));
        EXPECT_FALSE(thread.joinable());
        EXPECT_EQ(runs, 1);

        // Reusable once joined; destroyed while running, it waits.
        release = false;
        thread.start([&] {
            sleepMilliseconds(30);
            ++runs;
        });
    }
    EXPECT_EQ(runs, 2);

    Thread throwing;
    throwing.start([] { throw std::runtime_error("worker failed"); });
    throwing.join();
    EXPECT_FALSE(throwing.joinable());
}

}  // namespace
