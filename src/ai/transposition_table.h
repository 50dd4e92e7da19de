#pragma once

// What the look-ahead found for the human's replies to a position, kept so that a position reached
// again by another order of moves (in another candidate's look-ahead, or in another thread's work)
// is not searched again. The result of a reply search depends only on the position and on the
// number of levels still to search below it, so an entry is valid for as long as it stays.
//
// Results with one to three levels left, nearly all of them, have compact entries of 16 bytes,
// four to a cache line (a bucket). When a bucket is full, the entry with the fewest levels left,
// the cheapest to search again, makes room; entries stored by an earlier level of the same move
// count as free, as no level has a use for them. The far fewer and far costlier results with more
// levels left have wide entries of 32 bytes in a part of their own, two to a bucket: one keeps the
// deeper result, the other the newest. docs/engine.md draws both layouts.
//
// Threads share the table without locks. Each entry's check word is its tag XOR a mix of its
// counts, so that a reader accepts counts only together with the tag they were stored with; the
// argument is next to the reader in the source.

#include <cstddef>
#include <cstdint>
#include <functional>

#include "ai/search_results.h"

namespace quorbel {

// The table size past which a larger table makes a level no faster (measured: 2^21 entries at
// level 6, 2^23 at level 7, 2^25 at level 8). Each level stores some five to ten times what the
// level below it stores; a level finds nothing of use in what the levels above it stored, which
// are other positions under the same number of levels left. Fresh pages cost time to set up, so
// the table is not made larger than the level can use.
constexpr int TableLog2EntriesForLevel(int level) {
    return 2 * level + 9;
}

class TranspositionTable {
  public:
    TranspositionTable();
    ~TranspositionTable();
    TranspositionTable(const TranspositionTable&) = delete;
    TranspositionTable& operator=(const TranspositionTable&) = delete;

    // Makes room for 2^log2Entries (at least 2^10) compact entries and 2^(log2Entries - 6) wide
    // ones (2^log2Entries * 16.5 bytes), or for as many as the memory allows: with fewer entries,
    // or none, the search stays exact, only slower. The memory is mapped for up to 2^roomLog2
    // entries, so that the table can grow that far later on the pages it has set up (the entries
    // it holds stay valid, though most are no longer found); beyond its room it is given up for a
    // new, empty one. A table never shrinks. The pages are taken as the search first writes to
    // them, so room costs nothing until it is used and this returns at once. Before any Probe or
    // Store, on one thread.
    void Allocate(int log2Entries, int roomLog2 = 0);
    // Gives the memory back; the next Allocate starts with an empty table.
    void Release();
    // What is stored from now on belongs to this level of the look-ahead (1 and up); what earlier
    // levels stored makes room first. On one thread, between the levels.
    void StartLevel(int level);

    // Starts loading the bucket a Probe or Store of this key will read.
    void Prefetch(std::uint64_t positionKey, int levelsLeft) const;

    // From any thread, at any time while the table is allocated.
    bool Probe(std::uint64_t positionKey, int levelsLeft, HumanReplies& found) const;
    void Store(std::uint64_t positionKey, int levelsLeft, const HumanReplies& replies);

    // For tests: a Probe that runs betweenLoads after it has read the bucket's check words and
    // before it reads the counts, and the bucket a result goes to.
    bool Probe(std::uint64_t positionKey, int levelsLeft, HumanReplies& found,
               const std::function<void()>& betweenLoads) const;
    std::size_t BucketIndex(std::uint64_t positionKey, int levelsLeft) const;

    std::size_t Capacity() const;  // entries of both kinds
    std::size_t Bytes() const;
    std::size_t CountUsed() const;  // walks the whole table

  private:
    struct Compact;
    struct Wide;
    Compact* CompactBucket(std::uint64_t scrambled) const;
    Wide* WideBucket(std::uint64_t scrambled) const;
    template <typename BetweenLoads>
    bool ProbeCompact(std::uint64_t tag, HumanReplies& found, BetweenLoads betweenLoads) const;
    template <typename BetweenLoads>
    bool ProbeWide(std::uint64_t tag, HumanReplies& found, BetweenLoads betweenLoads) const;
    template <typename BetweenLoads>
    bool ProbeWith(std::uint64_t positionKey, int levelsLeft, HumanReplies& found,
                   BetweenLoads betweenLoads) const;
    void StoreCompact(std::uint64_t tag, const HumanReplies& replies);
    void StoreWide(std::uint64_t tag, const HumanReplies& replies);
    bool Map(int roomLog2);

    int log2Entries_ = 0;  // of the compact entries in use
    int roomLog2_ = 0;     // of the compact entries mapped
    std::uint64_t generation_ = 0;
    void* mapping_ = nullptr;
    std::size_t mappedBytes_ = 0;
    // Inside the mapping, from a huge-page boundary: the compact entries, then the wide ones.
    Compact* compact_ = nullptr;
    Wide* wide_ = nullptr;
};

}  // namespace quorbel
