#include "ai/transposition_table.h"

#include <sys/mman.h>

#include <atomic>
#include <cassert>
#include <cstddef>

namespace quorbel {

namespace {

// The key word: the position key (49 bits), the levels left (4 bits), the three flags and the lock.
constexpr int kLevelsShift = 49;
constexpr std::uint64_t kIdentMask = (std::uint64_t{1} << 53) - 1;
constexpr std::uint64_t kLost = std::uint64_t{1} << 53;
constexpr std::uint64_t kWon = std::uint64_t{1} << 54;
constexpr std::uint64_t kHumanWon = std::uint64_t{1} << 55;
constexpr std::uint64_t kLocked = std::uint64_t{1} << 63;

constexpr std::uint64_t Ident(std::uint64_t positionKey, int levelsLeft) {
    return positionKey | (static_cast<std::uint64_t>(levelsLeft) << kLevelsShift);
}

constexpr int LevelsLeft(std::uint64_t word) {
    return static_cast<int>((word & kIdentMask) >> kLevelsShift);
}

constexpr std::size_t kBucketBytes = 64;  // two entries share a cache line
constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kRoomForTheRest = std::size_t{96} << 20;
constexpr int kFewestLog2Entries = 10;

}  // namespace

static_assert(kMaxLevel < 16, "the levels left must fit in 4 bits of the key word");

struct TranspositionTable::Entry {
    std::uint64_t word;  // 0 while empty: no position key is 0
    std::int64_t lines[3];
};

TranspositionTable::TranspositionTable() {
    static_assert(sizeof(Entry) * 2 == kBucketBytes);
}

TranspositionTable::~TranspositionTable() {
    Release();
}

std::size_t TranspositionTable::Bytes() const {
    return Capacity() * sizeof(Entry);
}

void TranspositionTable::Release() {
    if (mapping_ != nullptr) {
        munmap(mapping_, mappedBytes_);
    }
    mapping_ = nullptr;
    entries_ = nullptr;
    mappedBytes_ = 0;
}

void TranspositionTable::Allocate(int log2Entries) {
    assert(log2Entries >= 2 && log2Entries <= 40);
    if (entries_ != nullptr && log2Entries <= log2Entries_) {
        return;
    }
    Release();
    for (int log2 = log2Entries; log2 >= kFewestLog2Entries && !Map(log2); --log2) {
    }
}

// The entries are touched at random, so every page is written soon after the search starts: huge
// pages where the system offers them spare most of the page faults.
bool TranspositionTable::Map(int log2Entries) {
    const std::size_t bytes = (std::size_t{1} << log2Entries) * sizeof(Entry);
    // One huge page more than needed, so that the entries can start on a huge-page boundary.
    const std::size_t mapped = bytes + kHugePage;
    void* mapping =
        mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED) {
        return false;
    }
    // Under a limit of the address space the rest of the program needs room too, for the search's
    // threads first of all: the table takes only what leaves that room.
    void* room = mmap(nullptr, kRoomForTheRest, PROT_NONE,
                      MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (room == MAP_FAILED) {
        munmap(mapping, mapped);
        return false;
    }
    munmap(room, kRoomForTheRest);
    mapping_ = mapping;
    mappedBytes_ = mapped;
    log2Entries_ = log2Entries;
    const std::size_t pastBoundary = reinterpret_cast<std::uintptr_t>(mapping) % kHugePage;
    void* start = static_cast<std::byte*>(mapping) + (kHugePage - pastBoundary) % kHugePage;
    madvise(start, bytes, MADV_HUGEPAGE);
    entries_ = static_cast<Entry*>(start);
    return true;
}

TranspositionTable::Entry* TranspositionTable::BucketOf(std::uint64_t ident) const {
    const std::uint64_t hash = ident * 0x9E3779B97F4A7C15ULL;
    return entries_ + ((hash >> (64 - (log2Entries_ - 1))) << 1);
}

void TranspositionTable::Prefetch(std::uint64_t positionKey, int levelsLeft) const {
    if (entries_ != nullptr) {
        __builtin_prefetch(BucketOf(Ident(positionKey, levelsLeft)), 1);
    }
}

bool TranspositionTable::Probe(std::uint64_t positionKey, int levelsLeft, HumanReplies& found) {
    if (entries_ == nullptr) {
        return false;
    }
    const std::uint64_t ident = Ident(positionKey, levelsLeft);
    Entry* bucket = BucketOf(ident);
    for (Entry* entry = bucket; entry != bucket + 2; ++entry) {
        std::atomic_ref word(entry->word);
        std::uint64_t seen = word.load(std::memory_order_relaxed);
        if ((seen & (kIdentMask | kLocked)) != ident) {
            continue;
        }
        if (!word.compare_exchange_strong(seen, seen | kLocked, std::memory_order_acquire,
                                          std::memory_order_relaxed)) {
            return false;
        }
        for (int n = 2; n <= 4; ++n) {
            found.lines[n] = entry->lines[n - 2];
        }
        word.store(seen, std::memory_order_release);
        found.lost = (seen & kLost) != 0;
        found.won = (seen & kWon) != 0;
        found.humanWon = (seen & kHumanWon) != 0;
        return true;
    }
    return false;
}

void TranspositionTable::Store(std::uint64_t positionKey, int levelsLeft,
                               const HumanReplies& replies) {
    if (entries_ == nullptr) {
        return;
    }
    const std::uint64_t ident = Ident(positionKey, levelsLeft);
    Entry* bucket = BucketOf(ident);
    // The first entry keeps the deeper of its old and the new result, the second takes the rest.
    const std::uint64_t first = std::atomic_ref(bucket[0].word).load(std::memory_order_relaxed);
    Entry* entry = first == 0 || LevelsLeft(first) <= levelsLeft ? &bucket[0] : &bucket[1];

    std::atomic_ref word(entry->word);
    std::uint64_t seen = word.load(std::memory_order_relaxed);
    if ((seen & kLocked) != 0 ||
        !word.compare_exchange_strong(seen, seen | kLocked, std::memory_order_acquire,
                                      std::memory_order_relaxed)) {
        return;
    }
    for (int n = 2; n <= 4; ++n) {
        entry->lines[n - 2] = replies.lines[n];
    }
    const std::uint64_t flags =
        (replies.lost ? kLost : 0) | (replies.won ? kWon : 0) | (replies.humanWon ? kHumanWon : 0);
    word.store(ident | flags, std::memory_order_release);
}

std::size_t TranspositionTable::CountUsed() const {
    std::size_t used = 0;
    for (std::size_t i = 0; entries_ != nullptr && i < Capacity(); ++i) {
        used += entries_[i].word != 0 ? 1 : 0;
    }
    return used;
}

}  // namespace quorbel
