#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "gp/Symbol.h"

namespace {

// Made during static initialisation of this file, before main runs.
const qx::symbol staticSymbol("static-initialiser");

TEST(Symbol, SameTextIsSameNode)
{
    qx::symbol a("color");
    qx::symbol b(std::string("color"));
    qx::symbol c("colour");
    EXPECT_EQ(a, b);
    EXPECT_EQ(&a.str(), &b.str());
    EXPECT_NE(a, c);
    EXPECT_EQ(staticSymbol, qx::symbol("static-initialiser"));
}

TEST(Symbol, EmptyAndLengths)
{
    EXPECT_EQ(qx::symbol(), qx::symbol::getEmpty());
    EXPECT_EQ(qx::symbol(nullptr, 0), qx::symbol::getEmpty());
    EXPECT_TRUE(qx::symbol().empty());
    // A length cuts the text; embedded NULs are part of it.
    EXPECT_EQ(qx::symbol("abcdef", 3), qx::symbol("abc"));
    qx::symbol withNul(std::string_view("a\0b", 3));
    EXPECT_NE(withNul, qx::symbol("a"));
    EXPECT_FALSE(withNul.equals("a"));
    EXPECT_TRUE(qx::symbol("abc").equals("abc"));
    EXPECT_FALSE(qx::symbol("abc").equals("abcd"));
    EXPECT_FALSE(qx::symbol("abc").equals(nullptr));
}

TEST(Symbol, InternedAcrossThreads)
{
    constexpr int kThreads = 8;
    std::vector<std::vector<qx::symbol>> made(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&made, t] {
            for (int i = 0; i < 500; ++i)
                made[t].emplace_back("name-" + std::to_string(i));
        });
    }
    for (auto& thread : threads)
        thread.join();
    for (int t = 1; t < kThreads; ++t)
        EXPECT_EQ(made[t], made[0]);
}

}  // namespace
