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

// The ident of a result: the position key (unique per position, never 0) in the low bits and the
// levels left above it.
constexpr int kKeyBits = 49;  // 7 bits a column: its stones and the marker bit above them
constexpr int kLevelsLeftBits = 4;
constexpr int kIdentBits = kKeyBits + kLevelsLeftBits;
constexpr std::uint64_t kIdentMask = (std::uint64_t{1} << kIdentBits) - 1;
static_assert(kMaxLevel - 1 < (1 << kLevelsLeftBits));

constexpr std::uint64_t Ident(std::uint64_t positionKey, int levelsLeft) {
    return positionKey | static_cast<std::uint64_t>(levelsLeft) << kKeyBits;
}

// The scrambled ident: the ident times an odd number modulo 2^53, which has an inverse, so it
// tells the ident exactly. Its top bits choose the bucket, the same whatever the table's size, and
// an entry keeps all its bits: an entry found is the position's, never a collision's.
constexpr std::uint64_t kScrambleFactor = 0x13C6EF372FE94FULL;  // odd, near 2^53 / golden ratio

constexpr std::uint64_t Scrambled(std::uint64_t ident) {
    return (ident * kScrambleFactor) & kIdentMask;
}

// The tag word of both kinds of entry. The levels left are there again, in the clear, for the
// replacement rule; the generation is the level of the look-ahead that stored the entry.
constexpr int kTagLevelsShift = kIdentBits;                                 // bits 53..56
constexpr int kGenerationShift = kTagLevelsShift + kLevelsLeftBits;         // bits 57..60
constexpr std::uint64_t kWon = std::uint64_t{1} << (kGenerationShift + 4);  // bit 61
constexpr std::uint64_t kLost = kWon << 1;                                  // bit 62
constexpr std::uint64_t kAlwaysZero = kLost << 1;                           // bit 63
static_assert(kAlwaysZero == std::uint64_t{1} << 63);
static_assert(kMaxLevel < 16, "the level that stored an entry must fit in 4 bits");

// The tag word as docs/engine.md draws it.
static_assert(kIdentBits == 53 && kTagLevelsShift == 53 && kGenerationShift == 57 &&
              kWon == std::uint64_t{1} << 61 && kLost == std::uint64_t{1} << 62);

// A probe hits when the tag word's ident, levels and zero bit are what it looks for: 58 bits.
constexpr std::uint64_t kIdentityMask =
    kIdentMask | std::uint64_t{15} << kTagLevelsShift | kAlwaysZero;

constexpr std::uint64_t TagOf(std::uint64_t positionKey, int levelsLeft) {
    return Scrambled(Ident(positionKey, levelsLeft)) | static_cast<std::uint64_t>(levelsLeft)
                                                           << kTagLevelsShift;
}

constexpr int LevelsLeftOf(std::uint64_t tagWord) {
    return static_cast<int>((tagWord >> kTagLevelsShift) & 15);
}

constexpr std::uint64_t GenerationOf(std::uint64_t tagWord) {
    return (tagWord >> kGenerationShift) & 15;
}

// The check word shows some of the tag word's bits as they are: eight bits of the scrambled ident,
// the levels left and the generation. With them a probe passes over the entries of other
// positions without decoding them, and a store ranks the entries it could replace. The eight bits
// lie below the bits that choose the bucket (bits 30 to 52 in a table of 2^25 entries), where the
// entries of one bucket differ.
constexpr int kIdentWindowShift = 22;
constexpr std::uint64_t kIdentWindow = std::uint64_t{0xFF} << kIdentWindowShift;
constexpr std::uint64_t kClearBits =
    kIdentWindow | std::uint64_t{15} << kTagLevelsShift | std::uint64_t{15} << kGenerationShift;

// Spreads the bits of a data word over the whole word (an odd multiplication carries every bit
// upwards, the fold brings the upper half down), so that different data words have mixes that
// differ all over the bits of the tag word that are not clear.
constexpr std::uint64_t Mix(std::uint64_t data) {
    const std::uint64_t product = data * 0x9E3779B97F4A7C15ULL;
    return (product ^ (product >> 32)) & ~kClearBits;
}

// The bits a probe finds in the clear: the window of the ident and the levels left.
constexpr std::uint64_t kShownBits = kIdentWindow | std::uint64_t{15} << kTagLevelsShift;

// The compact entries hold the results with up to three levels left. Their data word holds the
// counts of lines of 2, 3 and 4 in bits 0..21, 22..43 and 44..63. With three levels left at most
// 7^7 stones are evaluated below a position (a reply, then three answers and replies), each adding
// at most one four and four lines in all.
constexpr int kCompactLevels = 3;
constexpr int kLines3Shift = 22;
constexpr int kLines4Shift = 44;
constexpr std::uint64_t kLines2Max = (std::uint64_t{1} << kLines3Shift) - 1;
constexpr std::uint64_t kLines3Max = (std::uint64_t{1} << (kLines4Shift - kLines3Shift)) - 1;
constexpr std::uint64_t kLines4Max = (std::uint64_t{1} << (64 - kLines4Shift)) - 1;
static_assert(kLines3Shift == 22 && kLines4Shift == 44);  // as docs/engine.md draws them
// 7^(2 * levels + 1): a reply, then an answer and a reply for each level left.
constexpr std::uint64_t StonesBelow(int levelsLeft) {
    std::uint64_t stones = 7;
    for (int level = 1; level <= levelsLeft; ++level) {
        stones *= std::uint64_t{7} * 7;
    }
    return stones;
}
constexpr std::uint64_t kMostStonesBelowCompact = StonesBelow(kCompactLevels);
static_assert(4 * kMostStonesBelowCompact <= kLines2Max &&
              4 * kMostStonesBelowCompact <= kLines3Max && kMostStonesBelowCompact <= kLines4Max);

std::uint64_t PackCounts(const LineTally& lines) {
    return static_cast<std::uint64_t>(lines[2]) |
           static_cast<std::uint64_t>(lines[3]) << kLines3Shift |
           static_cast<std::uint64_t>(lines[4]) << kLines4Shift;
}

// The wide entries' data words are the three counts, mixed into one for the check word.
std::uint64_t MixLines(const std::array<std::uint64_t, 3>& lines) {
    return Mix(lines[0] ^ Mix(lines[1] ^ Mix(lines[2])));
}

constexpr std::size_t kCacheLine = 64;
constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kRoomForTheRest = std::size_t{96} << 20;
constexpr int kFewestLog2Entries = 10;
constexpr int kWideShare = 6;  // 2^-6 as many wide entries as compact ones

std::uint64_t Load(const std::uint64_t& word) {
    return std::atomic_ref(const_cast<std::uint64_t&>(word)).load(std::memory_order_relaxed);
}

void Save(std::uint64_t& word, std::uint64_t value) {
    std::atomic_ref(word).store(value, std::memory_order_relaxed);
}

// Field by field into the caller's result: a whole result built aside and copied over would be
// read back before its parts are written through, which stalls the processor on every hit.
void Unpack(std::uint64_t tagWord, std::uint64_t lines2, std::uint64_t lines3, std::uint64_t lines4,
            HumanReplies& into) {
    into.lost = (tagWord & kLost) != 0;
    into.won = (tagWord & kWon) != 0;
    into.lines[2] = static_cast<std::int64_t>(lines2);
    into.lines[3] = static_cast<std::int64_t>(lines3);
    into.lines[4] = static_cast<std::int64_t>(lines4);
}

std::uint64_t FlagsOf(const HumanReplies& replies) {
    return (replies.lost ? kLost : 0) | (replies.won ? kWon : 0);
}

}  // namespace

// Both kinds of entry are 0 while empty, which decodes to the levels left 0 that no probe asks
// for: Mix(0) is 0.
struct TranspositionTable::Compact {
    std::uint64_t check;  // the tag word XOR Mix(data)
    std::uint64_t data;   // the packed counts
};

struct TranspositionTable::Wide {
    std::uint64_t check;  // the tag word XOR MixLines(lines)
    std::array<std::uint64_t, 3> lines;
};

TranspositionTable::TranspositionTable() {
    static_assert(sizeof(Compact) * 4 == kCacheLine && sizeof(Wide) * 2 == kCacheLine);
    static_assert(std::atomic_ref<std::uint64_t>::is_always_lock_free);
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

void TranspositionTable::StartLevel(int level) {
    generation_ = static_cast<std::uint64_t>(level) & 15;
}

// Four compact entries to a bucket and two wide ones: the top bits of the scrambled ident choose
// it.
TranspositionTable::Compact* TranspositionTable::CompactBucket(std::uint64_t scrambled) const {
    return compact_ + ((scrambled >> (kIdentBits - (log2Entries_ - 2))) << 2);
}

TranspositionTable::Wide* TranspositionTable::WideBucket(std::uint64_t scrambled) const {
    return wide_ + ((scrambled >> (kIdentBits - (log2Entries_ - kWideShare - 1))) << 1);
}

std::size_t TranspositionTable::BucketIndex(std::uint64_t positionKey, int levelsLeft) const {
    const std::uint64_t scrambled = Scrambled(Ident(positionKey, levelsLeft));
    return levelsLeft <= kCompactLevels
               ? static_cast<std::size_t>(CompactBucket(scrambled) - compact_) / 4
               : static_cast<std::size_t>(WideBucket(scrambled) - wide_) / 2;
}

void TranspositionTable::Prefetch(std::uint64_t positionKey, int levelsLeft) const {
    if (compact_ == nullptr) {
        return;
    }
    const std::uint64_t scrambled = Scrambled(Ident(positionKey, levelsLeft));
    if (levelsLeft <= kCompactLevels) {
        __builtin_prefetch(CompactBucket(scrambled), 1);
    } else {
        __builtin_prefetch(WideBucket(scrambled), 1);
    }
}

bool TranspositionTable::Probe(std::uint64_t positionKey, int levelsLeft,
                               HumanReplies& found) const {
    return ProbeWith(positionKey, levelsLeft, found, [] {});
}

bool TranspositionTable::Probe(std::uint64_t positionKey, int levelsLeft, HumanReplies& found,
                               const std::function<void()>& betweenLoads) const {
    return ProbeWith(positionKey, levelsLeft, found, betweenLoads);
}

template <typename BetweenLoads>
bool TranspositionTable::ProbeWith(std::uint64_t positionKey, int levelsLeft, HumanReplies& found,
                                   BetweenLoads betweenLoads) const {
    if (compact_ == nullptr) {
        return false;
    }
    const std::uint64_t tag = TagOf(positionKey, levelsLeft);
    return levelsLeft <= kCompactLevels ? ProbeCompact(tag, found, betweenLoads)
                                        : ProbeWide(tag, found, betweenLoads);
}

void TranspositionTable::Store(std::uint64_t positionKey, int levelsLeft,
                               const HumanReplies& replies) {
    if (compact_ == nullptr) {
        return;
    }
    const std::uint64_t tag = TagOf(positionKey, levelsLeft);
    if (levelsLeft <= kCompactLevels) {
        StoreCompact(tag, replies);
    } else {
        StoreWide(tag, replies);
    }
}

// Why a reader that takes no lock never gets another position's result. Every word is read and
// written whole (atomic_ref), so what a reader sees of an entry are a check word and data words,
// each as some store left it. Two stores of the same position store the same result: it depends
// on the position and the levels left only. So the reader goes wrong only if its words come from
// stores of different positions, say the check word from X's store and the data from Y's, as when
// it reads between its loads while X -> Y -> X passes. It then decodes X's tag word XOR Mix(X's
// data) XOR Mix(Y's data), and since Mix spreads every difference of the data over the whole word,
// that names the position probed for only by a chance of 2^-46 (the 45 bits of the scrambled ident
// outside the clear window, and bit 63): all else is a miss, and a miss only costs a search.
// Writers take no lock either: two of them storing into one entry at once may leave a check word
// and data that do not belong together, which no probe finds and which makes room like any other.
template <typename BetweenLoads>
bool TranspositionTable::ProbeCompact(std::uint64_t tag, HumanReplies& found,
                                      BetweenLoads betweenLoads) const {
    const Compact* bucket = CompactBucket(tag & kIdentMask);
    // The entries that show the position's bits in the clear: all four are looked at, so that
    // where it stands costs no branch.
    const auto shows = [tag](std::uint64_t check) { return ((check ^ tag) & kShownBits) == 0; };
    unsigned candidates =
        (shows(Load(bucket[0].check)) ? 1U : 0U) | (shows(Load(bucket[1].check)) ? 2U : 0U) |
        (shows(Load(bucket[2].check)) ? 4U : 0U) | (shows(Load(bucket[3].check)) ? 8U : 0U);
    betweenLoads();
    for (; candidates != 0; candidates &= candidates - 1) {
        const Compact& entry = bucket[std::countr_zero(candidates)];
        const std::uint64_t data = Load(entry.data);
        const std::uint64_t tagWord = Load(entry.check) ^ Mix(data);
        if ((tagWord & kIdentityMask) == tag) {
            Unpack(tagWord, data & kLines2Max, (data >> kLines3Shift) & kLines3Max,
                   data >> kLines4Shift, found);
            return true;
        }
    }
    return false;
}

// The first entry that shows the newcomer's bits in the clear (the ident's window and the levels
// left): the position's own, or another with as many levels left that shares those bits; else the
// first that is free or stored by an earlier level; else one of those with the fewest levels left,
// if not more than the new result's. Among those two bits of the newcomer's scrambled ident pick
// the place, so that results of equal cost take turns over the bucket's four places rather than
// all pushing out one (at level 8 after `4` this searches 1.5% fewer positions than turning the
// places by the levels left). They are taken from the window: the lowest bits of a product follow
// the lowest bits of the key alone. All this is read from the bits the check words show in the
// clear.
void TranspositionTable::StoreCompact(std::uint64_t tag, const HumanReplies& replies) {
    assert(replies.lines[2] >= 0 && static_cast<std::uint64_t>(replies.lines[2]) <= kLines2Max &&
           replies.lines[3] >= 0 && static_cast<std::uint64_t>(replies.lines[3]) <= kLines3Max &&
           replies.lines[4] >= 0 && static_cast<std::uint64_t>(replies.lines[4]) <= kLines4Max);
    const int levelsLeft = LevelsLeftOf(tag);
    Compact* bucket = CompactBucket(tag & kIdentMask);
    Compact* victim = bucket;
    int fewest = INT_MAX;
    for (int i = 0; i < 4; ++i) {
        const std::uint64_t seen = Load(bucket[i].check);
        const int levels = LevelsLeftOf(seen);
        const bool free =
            levels == 0 || levels > kCompactLevels || GenerationOf(seen) != generation_;
        const int rank = ((seen ^ tag) & kShownBits) == 0 ? -2
                         : free
                             ? -1
                             : levels * 4 + ((i + static_cast<int>(tag >> kIdentWindowShift)) & 3);
        if (rank < fewest) {
            fewest = rank;
            victim = &bucket[i];
        }
    }
    // A cheaper result does not push out a costlier one.
    if (fewest / 4 > levelsLeft) {
        return;
    }
    const std::uint64_t data = PackCounts(replies.lines);
    Save(victim->data, data);
    Save(victim->check, (tag | FlagsOf(replies) | generation_ << kGenerationShift) ^ Mix(data));
}

template <typename BetweenLoads>
bool TranspositionTable::ProbeWide(std::uint64_t tag, HumanReplies& found,
                                   BetweenLoads betweenLoads) const {
    const Wide* bucket = WideBucket(tag & kIdentMask);
    const std::array<std::uint64_t, 2> checks = {Load(bucket[0].check), Load(bucket[1].check)};
    betweenLoads();
    for (std::size_t i = 0; i < 2; ++i) {
        const std::array<std::uint64_t, 3> lines = {
            Load(bucket[i].lines[0]), Load(bucket[i].lines[1]), Load(bucket[i].lines[2])};
        const std::uint64_t tagWord = checks[i] ^ MixLines(lines);
        if ((tagWord & kIdentityMask) == tag) {
            Unpack(tagWord, lines[0], lines[1], lines[2], found);
            return true;
        }
    }
    return false;
}

// The first entry keeps the deeper of its result and the new one, unless an earlier level stored
// it; the second takes the rest.
void TranspositionTable::StoreWide(std::uint64_t tag, const HumanReplies& replies) {
    Wide* bucket = WideBucket(tag & kIdentMask);
    const std::uint64_t first = Load(bucket[0].check);
    const bool firstGivesWay =
        LevelsLeftOf(first) <= LevelsLeftOf(tag) || GenerationOf(first) != generation_;
    Wide& entry = firstGivesWay ? bucket[0] : bucket[1];
    std::array<std::uint64_t, 3> lines{};
    for (int n = 2; n <= 4; ++n) {
        lines[static_cast<std::size_t>(n - 2)] = static_cast<std::uint64_t>(replies.lines[n]);
        Save(entry.lines[static_cast<std::size_t>(n - 2)], lines[static_cast<std::size_t>(n - 2)]);
    }
    Save(entry.check, (tag | FlagsOf(replies) | generation_ << kGenerationShift) ^ MixLines(lines));
}

std::size_t TranspositionTable::CountUsed() const {
    std::size_t used = 0;
    for (std::size_t i = 0; compact_ != nullptr && i < (std::size_t{1} << log2Entries_); ++i) {
        used += (compact_[i].check | compact_[i].data) != 0 ? 1 : 0;
    }
    for (std::size_t i = 0; wide_ != nullptr && i < (std::size_t{1} << (log2Entries_ - kWideShare));
         ++i) {
        used += wide_[i].check != 0 ? 1 : 0;
    }
    return used;
}

}  // namespace quorbel
