#include "ai/transposition_table.h"

#include <sys/mman.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cassert>
#include <climits>

namespace quorbel {

namespace {

// What an entry stands for: the position key (49 bits) and the levels left (4 bits above it).
constexpr int kLevelsShift = 49;
constexpr int kIdentBits = 53;
constexpr std::uint64_t kIdentMask = (std::uint64_t{1} << kIdentBits) - 1;

constexpr std::uint64_t Ident(std::uint64_t positionKey, int levelsLeft) {
    return positionKey | (static_cast<std::uint64_t>(levelsLeft) << kLevelsShift);
}

constexpr std::uint64_t kLocked = std::uint64_t{1} << 63;

// The first word of a compact entry: the ident's hash, which gives back the ident (it multiplies
// the ident by an odd number modulo 2^53) whatever the size of the table, the levels left, the
// level that stored it and the two flags.
constexpr int kCompactLevels = 3;
constexpr int kCompactLevelsShift = 53;
constexpr int kCompactGenerationShift = 55;
constexpr std::uint64_t kCompactWon = std::uint64_t{1} << 59;
constexpr std::uint64_t kCompactLost = std::uint64_t{1} << 60;
constexpr std::uint64_t kHashFactor = 0x13C6EF372FE94FULL;  // odd, near 2^53 / golden ratio

// The second word: the counts of lines of 2, 3 and 4 in 22, 22 and 20 bits. With three levels left
// at most 7^7 stones are evaluated below a position, each adding at most one four and four lines.
constexpr int kLines3Shift = 22;
constexpr int kLines4Shift = 44;
constexpr std::uint64_t kLines2Max = (std::uint64_t{1} << 22) - 1;
[[maybe_unused]] constexpr std::uint64_t kLines4Max = (std::uint64_t{1} << 20) - 1;

// The first word of a wide entry: the ident, the two flags and the level that stored it.
constexpr std::uint64_t kWideLost = std::uint64_t{1} << 53;
constexpr std::uint64_t kWideWon = std::uint64_t{1} << 54;
constexpr int kWideGenerationShift = 56;

constexpr std::uint64_t Generation(std::uint64_t word, int shift) {
    return (word >> shift) & 15;
}

constexpr std::size_t kCacheLine = 64;
constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kRoomForTheRest = std::size_t{96} << 20;
constexpr int kFewestLog2Entries = 10;
constexpr int kWideShare = 6;  // 2^-6 as many wide entries as compact ones

// Locks an entry whose first word was seen unlocked as seen, for a writer; false when another
// thread was first. The entry's other words are written only after the lock is seen.
bool Lock(std::atomic_ref<std::uint64_t> word, std::uint64_t seen) {
    if ((seen & kLocked) != 0 ||
        !word.compare_exchange_strong(seen, seen | kLocked, std::memory_order_acquire,
                                      std::memory_order_relaxed)) {
        return false;
    }
    std::atomic_thread_fence(std::memory_order_release);
    return true;
}

// For a reader, which takes no lock: whether the first word is still what it was before the entry's
// other words were read, so that no writer came in between.
bool Unchanged(std::atomic_ref<std::uint64_t> word, std::uint64_t seen) {
    std::atomic_thread_fence(std::memory_order_acquire);
    return word.load(std::memory_order_relaxed) == seen;
}

}  // namespace

static_assert(kMaxLevel < 16, "the levels left and the level must fit in 4 bits");

struct TranspositionTable::Compact {
    std::uint64_t word;  // 0 while empty: its levels left are never 0
    std::uint64_t counts;
};

struct TranspositionTable::Wide {
    std::uint64_t word;  // 0 while empty: no position key is 0
    std::int64_t lines[3];
};

TranspositionTable::TranspositionTable() {
    static_assert(sizeof(Compact) * 4 == kCacheLine && sizeof(Wide) * 2 == kCacheLine);
}

TranspositionTable::~TranspositionTable() {
    Release();
}

std::size_t TranspositionTable::Capacity() const {
    return compact_ != nullptr
               ? (std::size_t{1} << log2Entries_) + (std::size_t{1} << (log2Entries_ - kWideShare))
               : 0;
}

std::size_t TranspositionTable::Bytes() const {
    return compact_ != nullptr ? (std::size_t{1} << log2Entries_) * sizeof(Compact) +
                                     (std::size_t{1} << (log2Entries_ - kWideShare)) * sizeof(Wide)
                               : 0;
}

void TranspositionTable::Release() {
    if (mapping_ != nullptr) {
        munmap(mapping_, mappedBytes_);
    }
    mapping_ = nullptr;
    compact_ = nullptr;
    wide_ = nullptr;
    mappedBytes_ = 0;
    log2Entries_ = 0;
    roomLog2_ = 0;
}

void TranspositionTable::Allocate(int log2Entries, int roomLog2) {
    assert(log2Entries <= 40 && roomLog2 <= 40);
    log2Entries = std::max(log2Entries, kFewestLog2Entries);  // the shallowest levels ask for less
    if (compact_ != nullptr && log2Entries <= roomLog2_) {
        log2Entries_ = std::max(log2Entries_, log2Entries);
        return;
    }
    Release();
    for (int log2 = std::max(roomLog2, log2Entries); log2 >= kFewestLog2Entries && !Map(log2);
         --log2) {
    }
    if (compact_ != nullptr) {
        log2Entries_ = std::min(log2Entries, roomLog2_);
    }
}

// The entries are touched at random, so every page is written soon after the search starts: huge
// pages where the system offers them spare most of the page faults.
bool TranspositionTable::Map(int roomLog2) {
    const std::size_t compactBytes = (std::size_t{1} << roomLog2) * sizeof(Compact);
    const std::size_t bytes =
        compactBytes + (std::size_t{1} << (roomLog2 - kWideShare)) * sizeof(Wide);
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
    const std::size_t pastBoundary = reinterpret_cast<std::uintptr_t>(mapping) % kHugePage;
    std::byte* start = static_cast<std::byte*>(mapping) + (kHugePage - pastBoundary) % kHugePage;
    madvise(start, bytes, MADV_HUGEPAGE);
    compact_ = reinterpret_cast<Compact*>(start);
    wide_ = reinterpret_cast<Wide*>(start + compactBytes);
    roomLog2_ = roomLog2;
    return true;
}

// Four compact entries to a bucket: the hash's top bits choose it, the others stay in the entry.
TranspositionTable::Compact* TranspositionTable::CompactBucket(std::uint64_t hash) const {
    return compact_ + ((hash >> (kIdentBits - (log2Entries_ - 2))) << 2);
}

TranspositionTable::Wide* TranspositionTable::WideBucket(std::uint64_t ident) const {
    const std::uint64_t hash = ident * 0x9E3779B97F4A7C15ULL;
    return wide_ + ((hash >> (64 - (log2Entries_ - kWideShare - 1))) << 1);
}

void TranspositionTable::Prefetch(std::uint64_t positionKey, int levelsLeft) const {
    if (compact_ == nullptr) {
        return;
    }
    const std::uint64_t ident = Ident(positionKey, levelsLeft);
    if (levelsLeft <= kCompactLevels) {
        __builtin_prefetch(CompactBucket((ident * kHashFactor) & kIdentMask), 1);
    } else {
        __builtin_prefetch(WideBucket(ident), 1);
    }
}

bool TranspositionTable::Probe(std::uint64_t positionKey, int levelsLeft, HumanReplies& found) {
    if (compact_ == nullptr) {
        return false;
    }
    const std::uint64_t ident = Ident(positionKey, levelsLeft);
    return levelsLeft <= kCompactLevels ? ProbeCompact(ident, found) : ProbeWide(ident, found);
}

void TranspositionTable::Store(std::uint64_t positionKey, int levelsLeft,
                               const HumanReplies& replies) {
    if (compact_ == nullptr) {
        return;
    }
    const std::uint64_t ident = Ident(positionKey, levelsLeft);
    if (levelsLeft <= kCompactLevels) {
        StoreCompact(ident, replies);
    } else {
        StoreWide(ident, replies);
    }
}

bool TranspositionTable::ProbeCompact(std::uint64_t ident, HumanReplies& found) {
    const std::uint64_t hash = (ident * kHashFactor) & kIdentMask;
    const std::uint64_t tagMask = kIdentMask | (std::uint64_t{3} << kCompactLevelsShift) | kLocked;
    const std::uint64_t tag = hash | ((ident >> kLevelsShift) << kCompactLevelsShift);
    Compact* bucket = CompactBucket(hash);
    // Which of the four entries holds the position: all are looked at, so that where it stands
    // costs no branch.
    std::array<std::uint64_t, 4> seen{};
    unsigned matches = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        seen[i] = std::atomic_ref(bucket[i].word).load(std::memory_order_acquire);
        matches |= ((seen[i] & tagMask) == tag ? 1U : 0U) << i;
    }
    if (matches == 0) {
        return false;
    }
    const auto i = static_cast<std::size_t>(std::countr_zero(matches));
    Compact* entry = bucket + i;
    const std::uint64_t counts = std::atomic_ref(entry->counts).load(std::memory_order_relaxed);
    if (!Unchanged(std::atomic_ref(entry->word), seen[i])) {
        return false;
    }
    found.lines[2] = static_cast<std::int64_t>(counts & kLines2Max);
    found.lines[3] = static_cast<std::int64_t>((counts >> kLines3Shift) & kLines2Max);
    found.lines[4] = static_cast<std::int64_t>(counts >> kLines4Shift);
    found.lost = (seen[i] & kCompactLost) != 0;
    found.won = (seen[i] & kCompactWon) != 0;
    return true;
}

// The entry of the same position, else the first that is free or stored by an earlier level, else
// one of those with the fewest levels left (which one varies with the ident), if not more than the
// new result's.
void TranspositionTable::StoreCompact(std::uint64_t ident, const HumanReplies& replies) {
    assert(replies.lines[2] >= 0 && static_cast<std::uint64_t>(replies.lines[2]) <= kLines2Max &&
           replies.lines[3] >= 0 && static_cast<std::uint64_t>(replies.lines[3]) <= kLines2Max &&
           replies.lines[4] >= 0 && static_cast<std::uint64_t>(replies.lines[4]) <= kLines4Max);
    const std::uint64_t hash = (ident * kHashFactor) & kIdentMask;
    const std::uint64_t tagMask = kIdentMask | (std::uint64_t{3} << kCompactLevelsShift);
    const auto levelsLeft = static_cast<int>(ident >> kLevelsShift);
    const std::uint64_t tag =
        hash | (static_cast<std::uint64_t>(levelsLeft) << kCompactLevelsShift);
    Compact* bucket = CompactBucket(hash);
    Compact* victim = bucket;
    std::uint64_t victimSeen = 0;
    int fewest = INT_MAX;
    for (int i = 0; i < 4; ++i) {
        const std::uint64_t seen = std::atomic_ref(bucket[i].word).load(std::memory_order_relaxed);
        const int levels = static_cast<int>((seen >> kCompactLevelsShift) & 3);
        const bool free = seen == 0 || Generation(seen, kCompactGenerationShift) != generation_;
        const int rank = (seen & tagMask) == tag ? -2
                         : free                  ? -1
                                                 : levels * 4 + ((i + levelsLeft) & 3);
        if (rank < fewest) {
            fewest = rank;
            victim = &bucket[i];
            victimSeen = seen;
        }
    }
    // A cheaper result does not push out a costlier one.
    if (fewest / 4 > levelsLeft) {
        return;
    }
    std::atomic_ref word(victim->word);
    if (!Lock(word, victimSeen)) {
        return;
    }
    std::atomic_ref(victim->counts)
        .store(static_cast<std::uint64_t>(replies.lines[2]) |
                   static_cast<std::uint64_t>(replies.lines[3]) << kLines3Shift |
                   static_cast<std::uint64_t>(replies.lines[4]) << kLines4Shift,
               std::memory_order_relaxed);
    const std::uint64_t flags = (replies.lost ? kCompactLost : 0) | (replies.won ? kCompactWon : 0);
    word.store(tag | flags | generation_ << kCompactGenerationShift, std::memory_order_release);
}

bool TranspositionTable::ProbeWide(std::uint64_t ident, HumanReplies& found) {
    Wide* bucket = WideBucket(ident);
    for (Wide* entry = bucket; entry != bucket + 2; ++entry) {
        std::atomic_ref word(entry->word);
        const std::uint64_t seen = word.load(std::memory_order_acquire);
        if ((seen & (kIdentMask | kLocked)) != ident) {
            continue;
        }
        for (int n = 2; n <= 4; ++n) {
            found.lines[n] = std::atomic_ref(entry->lines[n - 2]).load(std::memory_order_relaxed);
        }
        if (!Unchanged(word, seen)) {
            return false;
        }
        found.lost = (seen & kWideLost) != 0;
        found.won = (seen & kWideWon) != 0;
        return true;
    }
    return false;
}

// The first entry keeps the deeper of its result and the new one, unless an earlier level stored
// it; the second takes the rest.
void TranspositionTable::StoreWide(std::uint64_t ident, const HumanReplies& replies) {
    Wide* bucket = WideBucket(ident);
    const std::uint64_t first = std::atomic_ref(bucket[0].word).load(std::memory_order_relaxed);
    const bool firstGivesWay = first == 0 ||
                               Generation(first, kWideGenerationShift) != generation_ ||
                               (first & kIdentMask) >> kLevelsShift <= ident >> kLevelsShift;
    Wide* entry = firstGivesWay ? &bucket[0] : &bucket[1];
    std::atomic_ref word(entry->word);
    if (!Lock(word, word.load(std::memory_order_relaxed))) {
        return;
    }
    for (int n = 2; n <= 4; ++n) {
        std::atomic_ref(entry->lines[n - 2]).store(replies.lines[n], std::memory_order_relaxed);
    }
    const std::uint64_t flags = (replies.lost ? kWideLost : 0) | (replies.won ? kWideWon : 0);
    word.store(ident | flags | generation_ << kWideGenerationShift, std::memory_order_release);
}

std::size_t TranspositionTable::CountUsed() const {
    std::size_t used = 0;
    for (std::size_t i = 0; compact_ != nullptr && i < (std::size_t{1} << log2Entries_); ++i) {
        used += compact_[i].word != 0 ? 1 : 0;
    }
    for (std::size_t i = 0; wide_ != nullptr && i < (std::size_t{1} << (log2Entries_ - kWideShare));
         ++i) {
        used += wide_[i].word != 0 ? 1 : 0;
    }
    return used;
}

}  // namespace quorbel
