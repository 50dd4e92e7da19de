// The transposition table: what is stored comes back whole, under its own key and levels only,
// also while two threads store and look up at once.

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <atomic>
#include <fstream>
#include <string>
#include <thread>

#include "ai/transposition_table.h"

namespace quorbel {
namespace {

// Keys like a position's: a marker bit above each column keeps them non-zero.
constexpr std::uint64_t kKey = 0x0040810204081ULL | 0x5;

HumanReplies Replies(bool lost, bool won, bool humanWon, std::int64_t base) {
    HumanReplies replies{lost, won, humanWon, {}};
    replies.lines[2] = base;
    replies.lines[3] = base + 1;
    replies.lines[4] = base + 2;
    return replies;
}

void ExpectSame(const HumanReplies& found, const HumanReplies& stored) {
    EXPECT_EQ(found.lost, stored.lost);
    EXPECT_EQ(found.won, stored.won);
    EXPECT_EQ(found.humanWon, stored.humanWon);
    EXPECT_EQ(found.lines, stored.lines);
}

TEST(TranspositionTable, GivesBackFlagsAndCountsBeyond32Bits) {
    TranspositionTable table;
    table.Allocate(12);
    const std::int64_t beyond = std::int64_t{44} * 1000 * 1000 * 1000;  // a level-7 count
    for (const HumanReplies& stored :
         {Replies(true, false, true, beyond), Replies(false, true, false, 7),
          Replies(true, false, false, std::int64_t{1} << 31), Replies(false, false, false, 0)}) {
        table.Store(kKey, 3, stored);
        HumanReplies found;
        ASSERT_TRUE(table.Probe(kKey, 3, found));
        ExpectSame(found, stored);
    }
}

TEST(TranspositionTable, MissesOtherLevelsAndOtherPositions) {
    TranspositionTable table;
    table.Allocate(12);
    table.Store(kKey, 3, Replies(false, true, false, 5));
    HumanReplies found;
    EXPECT_FALSE(table.Probe(kKey, 2, found));
    EXPECT_FALSE(table.Probe(kKey, 4, found));
    EXPECT_FALSE(table.Probe(kKey ^ 0x2, 3, found));
    EXPECT_EQ(table.CountUsed(), 1u);
}

TEST(TranspositionTable, GrowingStartsEmptyAndShrinkingKeepsTheTable) {
    TranspositionTable table;
    table.Allocate(12);
    table.Store(kKey, 1, Replies(false, false, false, 5));
    table.Allocate(10);
    HumanReplies found;
    EXPECT_TRUE(table.Probe(kKey, 1, found));
    EXPECT_EQ(table.Capacity(), 4096u);
    table.Allocate(14);
    EXPECT_FALSE(table.Probe(kKey, 1, found));
    EXPECT_EQ(table.Capacity(), 16384u);
    EXPECT_EQ(table.Bytes(), 16384u * 32);
}

// The program's address space now, in bytes.
std::size_t AddressSpaceInUse() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmSize:", 0) == 0) {
            return static_cast<std::size_t>(std::stoull(line.substr(7))) * 1024;
        }
    }
    return 0;
}

// Runs check under a limit of the address space of limitMiB more than is in use.
template <typename Check>
void UnderAddressSpaceLimit(std::size_t limitMiB, Check check) {
    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_AS, &before), 0);
    rlimit limited = before;
    limited.rlim_cur = AddressSpaceInUse() + (limitMiB << 20);
    ASSERT_EQ(setrlimit(RLIMIT_AS, &limited), 0);
    check();
    setrlimit(RLIMIT_AS, &before);
}

TEST(TranspositionTable, TooLittleMemoryGivesASmallerTableOrNoneButNeverFails) {
    UnderAddressSpaceLimit(400, [] {
        TranspositionTable table;
        table.Allocate(30);  // 32 GiB asked for
        EXPECT_GT(table.Capacity(), 0u);
        EXPECT_LT(table.Bytes(), std::size_t{400} << 20);
        table.Store(kKey, 2, Replies(false, true, false, 9));
        HumanReplies found;
        EXPECT_TRUE(table.Probe(kKey, 2, found));
    });
    UnderAddressSpaceLimit(40, [] {
        TranspositionTable table;
        table.Allocate(20);
        EXPECT_EQ(table.Capacity(), 0u);
        table.Store(kKey, 2, Replies(false, true, false, 9));
        HumanReplies found;
        EXPECT_FALSE(table.Probe(kKey, 2, found));
    });
}

// Every key's content is a function of the key, so a torn read would show as a mismatch.
TEST(TranspositionTable, ConcurrentUseNeverMixesTwoEntries) {
    TranspositionTable table;
    table.Allocate(10);  // far fewer entries than keys: constant replacement
    std::atomic<int> hits{0};
    const auto work = [&](std::uint64_t seed) {
        std::uint64_t x = seed;
        for (int i = 0; i < 200000; ++i) {
            x = x * 6364136223846793005ULL + 1442695040888963407ULL;
            const std::uint64_t key = kKey + ((x >> 33) % 5000) * 128;
            const int levels = static_cast<int>((x >> 20) % 3);
            const auto base =
                static_cast<std::int64_t>(key * 3 + static_cast<std::uint64_t>(levels));
            const HumanReplies expected = Replies(key % 3 == 0, key % 3 == 1, key % 5 == 0, base);
            HumanReplies found;
            if (table.Probe(key, levels, found)) {
                ++hits;
                if (found.lines != expected.lines || found.lost != expected.lost ||
                    found.won != expected.won || found.humanWon != expected.humanWon) {
                    ADD_FAILURE() << "mixed entry for key " << key;
                    return;
                }
            } else {
                table.Store(key, levels, expected);
            }
        }
    };
    std::thread other(work, 17);
    work(91);
    other.join();
    EXPECT_GT(hits.load(), 1000);
}

}  // namespace
}  // namespace quorbel
