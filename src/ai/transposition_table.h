#pragma once

// What the look-ahead found for the human's replies to a position, kept so that a position reached
// again by another order of moves (in another candidate's look-ahead, or at another level of the
// same move) is not searched again. The result of a reply search depends only on the position and
// on the number of levels still to search below it, so an entry is valid for as long as it stays.
//
// The table has a fixed size while a search runs. Entries live in buckets of two: one keeps the
// result of the deeper search, the other always takes the newest; a full table only costs time.
// Several threads may use the table at once: each entry is locked by a bit of its key word while it
// is read or written, and an entry found locked counts as a miss.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "ai/move_report.h"

namespace quorbel {

// Everything a search of the human's replies hands back to its caller.
struct HumanReplies {
    bool lost = false;      // a reply refutes the computer move: a forced loss
    bool won = false;       // every reply is answered by a forced win
    bool humanWon = false;  // the loss is a four of the human made at once
    LineTally lines;        // the human lines counted at the horizon below
};

class TranspositionTable {
  public:
    TranspositionTable();
    ~TranspositionTable();
    TranspositionTable(const TranspositionTable&) = delete;
    TranspositionTable& operator=(const TranspositionTable&) = delete;

    // Makes room for 2^log2Entries entries of 32 bytes, or for as many as the memory allows: with
    // fewer entries, or none, the search stays exact, only slower. A smaller table than this is
    // given up with its contents, a larger one kept. The pages are taken as the search first writes
    // to them, so this returns at once. Before any Probe or Store, on one thread.
    void Allocate(int log2Entries);
    // Gives the memory back; the next Allocate starts with an empty table.
    void Release();

    // Starts loading the entries a Probe or Store of this key will read.
    void Prefetch(std::uint64_t positionKey, int levelsLeft) const;

    bool Probe(std::uint64_t positionKey, int levelsLeft, HumanReplies& found);
    void Store(std::uint64_t positionKey, int levelsLeft, const HumanReplies& replies);

    std::size_t Capacity() const { return entries_ ? std::size_t{1} << log2Entries_ : 0; }
    std::size_t Bytes() const;
    std::size_t CountUsed() const;  // walks the whole table

  private:
    struct Entry;
    Entry* BucketOf(std::uint64_t ident) const;
    bool Map(int log2Entries);

    int log2Entries_ = 0;
    void* mapping_ = nullptr;
    std::size_t mappedBytes_ = 0;
    Entry* entries_ = nullptr;  // inside the mapping, on a huge-page boundary
};

}  // namespace quorbel
