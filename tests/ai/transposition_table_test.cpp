// The transposition table: what is stored comes back whole, under its own key and levels only,
// also while two threads store and look up at once.

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "ai/transposition_table.h"
#include "support/address_space_limit.h"

namespace quorbel {
namespace {

// Keys like a position's: a marker bit above each column keeps them non-zero.
constexpr std::uint64_t kKey = 0x0040810204081ULL | 0x5;

HumanReplies Replies(bool lost, bool won, std::int64_t lines2, std::int64_t lines3,
                     std::int64_t lines4) {
    HumanReplies replies{lost, won, {}};
    replies.lines[2] = lines2;
    replies.lines[3] = lines3;
    replies.lines[4] = lines4;
    return replies;
}

HumanReplies Replies(bool lost, bool won, std::int64_t base) {
    return Replies(lost, won, base, base + 1, base + 2);
}

void ExpectSame(const HumanReplies& found, const HumanReplies& stored) {
    EXPECT_EQ(found.lost, stored.lost);
    EXPECT_EQ(found.won, stored.won);
    EXPECT_EQ(found.lines, stored.lines);
}

// Compact entries (up to three levels left) hold the largest counts three levels can give, 4 * 7^7
// lines and 7^7 fours; wide ones counts beyond 32 bits.
TEST(TranspositionTable, GivesBackFlagsAndTheLargestCounts) {
    TranspositionTable table;
    table.Allocate(12);
    const std::int64_t stones = 823543;                                 // 7^7
    const std::int64_t beyond = std::int64_t{44} * 1000 * 1000 * 1000;  // a level-7 count
    for (const auto& [levels, stored] :
         {std::pair{3, Replies(true, false, 4 * stones, 4 * stones, stones)},
          {3, Replies(false, true, 7)},
          {1, Replies(true, false, 0)},
          {4, Replies(true, false, beyond)},
          {9, Replies(false, true, std::int64_t{1} << 31)}}) {
        table.Store(kKey, levels, stored);
        HumanReplies found;
        ASSERT_TRUE(table.Probe(kKey, levels, found)) << levels;
        ExpectSame(found, stored);
    }
}

TEST(TranspositionTable, MissesOtherLevelsAndOtherPositions) {
    TranspositionTable table;
    table.Allocate(12);
    table.Store(kKey, 3, Replies(false, true, 5));
    table.Store(kKey, 5, Replies(false, true, 5));
    HumanReplies found;
    for (const int levels : {1, 2, 4, 6}) {
        EXPECT_FALSE(table.Probe(kKey, levels, found)) << levels;
    }
    EXPECT_FALSE(table.Probe(kKey ^ 0x2, 3, found));
    EXPECT_FALSE(table.Probe(kKey ^ 0x2, 5, found));
    EXPECT_EQ(table.CountUsed(), 2u);
}

TEST(TranspositionTable, GrowingStartsEmptyAndShrinkingKeepsTheTable) {
    TranspositionTable table;
    table.Allocate(12);
    table.Store(kKey, 1, Replies(false, false, 5));
    table.Allocate(10);
    HumanReplies found;
    EXPECT_TRUE(table.Probe(kKey, 1, found));
    EXPECT_EQ(table.Capacity(), 4096u + 64);
    table.Allocate(14);
    EXPECT_FALSE(table.Probe(kKey, 1, found));
    EXPECT_EQ(table.Capacity(), 16384u + 256);
    EXPECT_EQ(table.Bytes(), 16384u * 16 + 256 * 32);
}

// The shallowest levels ask for fewer entries than the smallest table: they get that table.
TEST(TranspositionTable, ASmallRequestGetsTheSmallestTable) {
    TranspositionTable table;
    table.Allocate(8);
    EXPECT_EQ(table.Capacity(), 1024u + 16);
    table.Store(kKey, 1, Replies(false, true, 3));
    HumanReplies found;
    ASSERT_TRUE(table.Probe(kKey, 1, found));
    ExpectSame(found, Replies(false, true, 3));
}

// Distinct keys like a position's.
std::uint64_t KeyNumber(int i) {
    return kKey + static_cast<std::uint64_t>(i) * 128;
}

int CountFound(TranspositionTable& table, int first, int count, int levels) {
    int found = 0;
    for (int i = first; i < first + count; ++i) {
        HumanReplies replies;
        found += table.Probe(KeyNumber(i), levels, replies) ? 1 : 0;
    }
    return found;
}

// Growing within its room keeps the pages and what they hold, which stays exact for its position.
TEST(TranspositionTable, GrowsInPlaceWithinItsRoom) {
    TranspositionTable table;
    table.Allocate(10, 14);
    for (int i = 0; i < 500; ++i) {
        table.Store(KeyNumber(i), 1, Replies(false, false, i));
    }
    const std::size_t used = table.CountUsed();
    ASSERT_GT(used, 400u);
    table.Allocate(14, 14);
    EXPECT_EQ(table.Capacity(), 16384u + 256);
    EXPECT_EQ(table.CountUsed(), used);
    for (int i = 0; i < 500; ++i) {
        HumanReplies found;
        if (table.Probe(KeyNumber(i), 1, found)) {
            ExpectSame(found, Replies(false, false, i));
        }
        table.Store(KeyNumber(i), 1, Replies(false, false, i));
        ASSERT_TRUE(table.Probe(KeyNumber(i), 1, found));
        ExpectSame(found, Replies(false, false, i));
    }
}

TEST(TranspositionTable, CheapResultsMakeRoomForCostlyOnesAndEarlierLevelsForAll) {
    TranspositionTable table;
    table.Allocate(10);  // 1024 compact entries
    table.StartLevel(7);
    for (int i = 0; i < 400; ++i) {
        table.Store(KeyNumber(i), 3, Replies(false, false, i));
    }
    const int costly = CountFound(table, 0, 400, 3);
    EXPECT_GT(costly, 360);
    const auto flood = [&table] {
        for (int i = 1000; i < 30000; ++i) {
            table.Store(KeyNumber(i), 1, Replies(false, false, i));
        }
    };
    flood();
    EXPECT_EQ(CountFound(table, 0, 400, 3), costly);
    EXPECT_GT(CountFound(table, 29000, 1000, 1), 100);
    table.StartLevel(8);
    flood();
    EXPECT_LT(CountFound(table, 0, 400, 3), costly / 4);
}

// Runs check under a limit of the address space of limitMiB more than is in use.
template <typename Check>
void UnderAddressSpaceLimit(std::size_t limitMiB, Check check) {
    const testing::AddressSpaceLimit limit(limitMiB);
    ASSERT_TRUE(limit.set());
    check();
}

TEST(TranspositionTable, TooLittleMemoryGivesASmallerTableOrNoneButNeverFails) {
    UnderAddressSpaceLimit(400, [] {
        TranspositionTable table;
        table.Allocate(30);  // 32 GiB asked for
        EXPECT_GT(table.Capacity(), 0u);
        EXPECT_LT(table.Bytes(), std::size_t{400} << 20);
        table.Store(kKey, 2, Replies(false, true, 9));
        HumanReplies found;
        EXPECT_TRUE(table.Probe(kKey, 2, found));
    });
    UnderAddressSpaceLimit(40, [] {
        TranspositionTable table;
        table.Allocate(20);
        EXPECT_EQ(table.Capacity(), 0u);
        table.Store(kKey, 2, Replies(false, true, 9));
        HumanReplies found;
        EXPECT_FALSE(table.Probe(kKey, 2, found));
    });
}

// Another key whose results share the bucket of key's with those levels left (and with
// sameBucketLevels, when given).
std::uint64_t KeySharingBucket(const TranspositionTable& table, std::uint64_t key, int levels,
                               int first, int sameBucketLevels = 0) {
    const std::size_t bucket = table.BucketIndex(key, levels);
    for (int i = first;; ++i) {
        const std::uint64_t other = KeyNumber(i);
        if (table.BucketIndex(other, sameBucketLevels != 0 ? sameBucketLevels : levels) == bucket) {
            return other;
        }
    }
}

// A reader paused between its loads while X's entry is overwritten by Y's and then by X's again
// must miss, or give X's own result: never Y's counts under X's key.
TEST(TranspositionTable, AReaderBetweenItsLoadsNeverTakesAnotherPositionsResult) {
    const HumanReplies x = Replies(false, false, 4, 8, 12);
    const HumanReplies y = Replies(true, false, 100, 200, 300);
    for (const int levels : {1, 5}) {  // a compact entry and a wide one
        SCOPED_TRACE(levels);
        TranspositionTable table;
        table.Allocate(10);
        if (levels == 1) {
            // Costlier results fill the rest of the bucket, so that Y can only take X's place.
            for (int filler = 0, first = 1; filler < 3; ++filler) {
                const std::uint64_t key = KeySharingBucket(table, kKey, levels, first, 3);
                table.Store(key, 3, Replies(false, false, 1));
                first = static_cast<int>((key - kKey) / 128) + 1;
            }
        }
        const std::uint64_t keyY = KeySharingBucket(table, kKey, levels, 1000);
        HumanReplies found;
        table.Store(kKey, levels, x);
        table.Store(keyY, levels, y);
        ASSERT_FALSE(table.Probe(kKey, levels, found)) << "Y must take X's place";
        table.Store(kKey, levels, x);
        ASSERT_TRUE(table.Probe(kKey, levels, found));

        int stores = 0;
        const auto nextStore = [&] {
            ++stores;
            table.Store(stores % 2 == 1 ? keyY : kKey, levels, stores % 2 == 1 ? y : x);
        };
        const bool hit = table.Probe(kKey, levels, found, nextStore);
        EXPECT_GE(stores, 1) << levels;
        if (hit) {
            ExpectSame(found, x);
        }
    }
}

// Results with as many levels left as every entry of a full bucket each push one of them out; which
// one must vary with the position, or the newcomers would keep taking each other's place.
TEST(TranspositionTable, EqualResultsInAFullBucketPushOutDifferentEntries) {
    TranspositionTable table;
    table.Allocate(10);
    table.StartLevel(5);
    std::vector<std::uint64_t> keys{kKey};
    for (int first = 1; keys.size() < 12;) {
        keys.push_back(KeySharingBucket(table, kKey, 2, first));
        first = static_cast<int>((keys.back() - kKey) / 128) + 1;
    }
    for (const std::uint64_t key : keys) {
        table.Store(key, 2, Replies(false, false, 7));
    }
    int newcomersKept = 0;
    HumanReplies found;
    for (std::size_t i = 4; i < keys.size(); ++i) {
        newcomersKept += table.Probe(keys[i], 2, found) ? 1 : 0;
    }
    EXPECT_GE(newcomersKept, 2);
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
            const int levels = 1 + static_cast<int>((x >> 20) % 5);  // compact and wide
            const auto base = static_cast<std::int64_t>(key % 100000 * 6) + levels;
            const HumanReplies expected = Replies(key % 3 == 0, key % 3 == 1, base);
            HumanReplies found;
            if (table.Probe(key, levels, found)) {
                ++hits;
                if (found.lines != expected.lines || found.lost != expected.lost ||
                    found.won != expected.won) {
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
