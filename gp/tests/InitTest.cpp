#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <string>
#include <thread>

#include "../src/common/Platform.h"
#include "gp/Assertion.h"
#include "gp/DeviceNotification.h"
#include "gp/Init.h"
#include "gp/SystemInfo.h"
#include "gp/Thread.h"
#include "gp/Version.h"

using namespace QX::GP;

namespace {

class ThrowingAssertions : public testing::Test {
protected:
    ThrowingAssertions() { Assertion::setThrowsExceptions(true); }
    ~ThrowingAssertions() override { Assertion::setThrowsExceptions(false); }
};

// The line of the assertion `call` fails with in "init_gp", or 0.
template <typename Call>
int failedInitLine(Call call)
{
    try {
        call();
    } catch (const Assertion::exception& e) {
        EXPECT_EQ(e.file(), "init_gp");
        return e.line();
    }
    return 0;
}

using CheckVersion = ThrowingAssertions;

TEST_F(CheckVersion, ReportsEachMismatchAtItsLine)
{
    EXPECT_EQ(failedInitLine([] { checkVersion(kVersion, kStartupFlags); }), 0);
    EXPECT_EQ(failedInitLine([] { checkVersion(0x2020000, kStartupFlags); }), 213);
    EXPECT_EQ(failedInitLine([] { checkVersion(kVersion, 0xF0002); }), 216);
    EXPECT_EQ(failedInitLine([] { checkVersion(kVersion, 0xE0001); }), 219);
}

using Init = ThrowingAssertions;

TEST_F(Init, StartsOnceAndExitUndoes)
{
    ASSERT_FALSE(isInitialized());
    EXPECT_EQ(failedInitLine([] { init(fourCharCode("QHV2"), "T", 0x1000000, kStartupFlags); }), 213);
    EXPECT_FALSE(isInitialized());

    ASSERT_TRUE(init(fourCharCode("QHV2"), "HARMOVA VI2 FIRMWARE UPDATER", kVersion, kStartupFlags));
    EXPECT_TRUE(isInitialized());
    EXPECT_EQ(getApplicationCode(), 0x51485632u);
    EXPECT_EQ(getApplicationTitle(), "HARMOVA VI2 FIRMWARE UPDATER");
    EXPECT_TRUE(hasThreadLocalSlot());
    EXPECT_GT(getSystemInfo().processorCount, 0u);
    EXPECT_GT(getSystemInfo().pageSize, 0u);

    // A second start is a fatal assertion and leaves the first one standing.
    EXPECT_NE(failedInitLine([] { init(fourCharCode("QHV2"), "again", kVersion, kStartupFlags); }), 0);
    EXPECT_TRUE(isInitialized());
    EXPECT_EQ(getApplicationTitle(), "HARMOVA VI2 FIRMWARE UPDATER");

    exit();
    EXPECT_FALSE(isInitialized());
    EXPECT_FALSE(hasThreadLocalSlot());
    EXPECT_EQ(getDeviceNotificationWindow(), nullptr);
    exit();  // harmless when not started
}

TEST(ThreadLocalSlot, HoldsOneValuePerThread)
{
    initThreadLocalSlot();
    ASSERT_TRUE(hasThreadLocalSlot());
    int mine = 0;
    setThreadLocalValue(&mine);
    void* seenElsewhere = &mine;
    Thread other;
    other.start([&] { seenElsewhere = getThreadLocalValue(); });
    other.join();
    EXPECT_EQ(seenElsewhere, nullptr);
    EXPECT_EQ(getThreadLocalValue(), &mine);
    setThreadLocalValue(nullptr);
}

TEST(LanguageCode, StoredOrTakenFromTheUser)
{
    EXPECT_STREQ(DETAIL::languageCodeForPrimaryLanguage(7), "DEU");
    EXPECT_STREQ(DETAIL::languageCodeForPrimaryLanguage(0), "ENG");  // unknown languages

    EXPECT_EQ(getUserLanguageCode("FRA"), "FRA");
    EXPECT_EQ(getUserLanguageCode(), "FRA");
    EXPECT_EQ(getUserLanguageCode("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), "ABCDEFGHIJKLMNO");
    const std::string fromUser = getUserLanguageCode("");
    EXPECT_EQ(getUserLanguageCode(nullptr), fromUser);
    EXPECT_EQ(fromUser, DETAIL::languageCodeForPrimaryLanguage(DETAIL::readUserUILanguage()));
}

// What a caller was given stays as it was when another code is stored later
// (by another thread, say): the caller holds a value, not the store's buffer.
TEST(LanguageCode, AnswerIsNotChangedByALaterCode)
{
    const auto stored = getUserLanguageCode("ITA");
    const auto read = getUserLanguageCode();
    getUserLanguageCode("JPN");
    EXPECT_EQ(std::string(stored), "ITA");
    EXPECT_EQ(std::string(read), "ITA");
}

// Spins until `ready` answers true, giving the processor away after a while
// so that a busy machine still gets round to the other thread.
template <typename Ready>
void spinUntil(Ready ready)
{
    for (int spins = 0; !ready(); ++spins) {
        if (spins > 1000)
            std::this_thread::yield();
    }
}

// Takes a little time that the compiler cannot drop.
void busyLoop(long steps)
{
    volatile long step = 0;
    while (step < steps)
        step = step + 1;
}

// Readers on other threads see whole codes, never a mixture of two. The two
// codes differ in length and in every character, so any mixture shows. Only
// a read during a write can catch one, and a write is brief: the threads meet
// before each round, and the reader starts a little later (or earlier)
// against the writer from round to round, so that some reads fall into it.
TEST(LanguageCode, ReadersSeeWholeCodes)
{
    const std::string codes[] = {"DEU", "SPANISH-LONGER"};
    getUserLanguageCode(codes[0].c_str());
    constexpr long kRounds = 50000;
    constexpr long kMaxShift = 64;
    // Positive: the reader waits so many steps; negative: the writer does.
    const auto shift = [](long round) { return round % (2 * kMaxShift) - kMaxShift; };
    std::atomic<long> readerRound{0}, writerRound{0};
    Thread writer;
    writer.start([&] {
        for (long round = 1; round <= kRounds; ++round) {
            spinUntil([&] { return readerRound >= round; });
            writerRound = round;
            busyLoop(-shift(round));
            getUserLanguageCode(codes[round % 2].c_str());
        }
    });
    std::string torn;
    for (long round = 1; round <= kRounds && torn.empty(); ++round) {
        readerRound = round;
        spinUntil([&] { return writerRound >= round; });
        busyLoop(shift(round));
        const std::string code = getUserLanguageCode();
        if (code != codes[0] && code != codes[1])
            torn = code;
    }
    readerRound = kRounds;  // the writer need not wait any more
    writer.join();
    EXPECT_EQ(torn, "");
}

class MapStore : public IPreferenceStore {
public:
    bool readText(std::string_view name, std::string& out) override
    {
        auto found = values.find(std::string(name));
        if (found == values.end())
            return false;
        out = found->second;
        return true;
    }
    std::map<std::string, std::string> values;
};

TEST(Preferences, StoreOrDefault)
{
    std::string out = "stale";
    EXPECT_FALSE(readPreference("Locale", "", out, kPreferenceText));
    EXPECT_EQ(out, "");

    auto store = std::make_shared<MapStore>();
    store->values["Locale"] = "DEU";
    auto previous = installPreferenceStore(store);
    EXPECT_TRUE(readPreference("Locale", "", out, kPreferenceText));
    EXPECT_EQ(out, "DEU");
    EXPECT_FALSE(readPreference("Missing", "dflt", out, kPreferenceText));
    EXPECT_EQ(out, "dflt");
    EXPECT_FALSE(readPreference("Locale", nullptr, out, 1));  // only text is kept
    EXPECT_EQ(out, "");
    EXPECT_FALSE(readPreference(nullptr, "x", out, kPreferenceText));
    EXPECT_EQ(installPreferenceStore(previous), store);
}

}  // namespace
