#pragma once

// What the look-ahead found for the human's replies to a position, kept so that a position reached
// again by another order of moves (in another candidate's look-ahead, or in another thread's work)
// is not searched again. The result of a reply search depends only on the position and on the
// number of levels still to search below it, so an entry is valid for as long as it stays.
//
// The table has a fixed size while a search runs. Most results have one to three levels left below
// them: their counts fit into compact entries of 16 bytes, four to a cache line. When a line is
// full, the entry with the fewest levels left, the cheapest to search again, makes room; entries
// stored by an earlier level of the same move count as free, as no level has a use for them. The
// far fewer and far costlier results with more levels left have wide entries of 32 bytes in a part
// of their own, two to a cache line: one keeps the deeper result, the other the newest. Several
// threads may use the table at once: a writer locks an entry by a bit of its first word, and a
// reader, which takes no lock, reads the first word again after the rest: an entry found locked
// or changed counts as a miss.

#include <cstddef>
#include <cstdint>

#include "ai/move_report.h"

namespace quorbel {

// Everything a search of the human's replies hands back to its caller.
struct HumanReplies {
    bool lost = false;  // a reply refutes the computer move: a forced loss
    bool won = false;   // every reply is answered by a forced win
    LineTally lines;    // the human lines counted at the horizon below
};

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
    void StartLevel(int level) { generation_ = static_cast<std::uint64_t>(level) & 15; }

    // Starts loading the entries a Probe or Store of this key will read.
    void Prefetch(std::uint64_t positionKey, int levelsLeft) const;

    bool Probe(std::uint64_t positionKey, int levelsLeft, HumanReplies& found);
    void Store(std::uint64_t positionKey, int levelsLeft, const HumanReplies& replies);

    std::size_t Capacity() const;  // entries of both kinds
    std::size_t Bytes() const;
    std::size_t CountUsed() const;  // walks the whole table

  private:
    struct Compact;
    struct Wide;
    Compact* CompactBucket(std::uint64_t hash) const;
    Wide* WideBucket(std::uint64_t ident) const;
    bool ProbeCompact(std::uint64_t ident, HumanReplies& found);
    bool ProbeWide(std::uint64_t ident, HumanReplies& found);
    void StoreCompact(std::uint64_t ident, const HumanReplies& replies);
    void StoreWide(std::uint64_t ident, const HumanReplies& replies);
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
