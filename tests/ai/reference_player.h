#pragma once

// The computer player's decision written out step by step on the game-state record: no bitboards,
// no table, no threads, no displays. It is the yardstick the fast engine is compared with.

#include <cstdint>

#include "ai/move_report.h"
#include "game/record.h"

namespace quorbel::testing {

class ReferencePlayer {
  public:
    explicit ReferencePlayer(GameRecord& rec) : rec_(rec) {}

    // The stages of MakeCompMove up to the choice, at rec.Level, on the position in WorkBoard with
    // MoveNr the computer's move. The random draws are left out: an opening reports column 0, a
    // choice the candidates that remain.
    MoveReport Decide();

    void SearchCompMoves(int depth);
    void SearchHumanMoves(int depth);
    void AnalyseEnemyCol(int col);

    std::uint64_t nodes() const { return nodes_; }

  private:
    enum class ScanEnd { Finished, Four };
    enum class Blocked { ScanFinished, NextTarget, NextWindow };

    bool FilterStage(MoveReport& report);
    bool LookAheadStage(MoveReport& report);

    ScanEnd VerticalScan(int col);
    ScanEnd WindowScan(int startCol, int startRow, int colStep, int rowStep, int lastWindow,
                       Blocked (*computerStoneAt)(int p));
    void Record(int n) { ++rec_.EnemyLines[rec_.TestCol][n]; }

    std::int32_t& MovesTried(int depth) { return rec_.MovesTried[depth - 1]; }
    std::int32_t& MovesLost(int depth) { return rec_.MovesLost[depth - 1]; }
    std::int32_t& MovesWon(int depth) { return rec_.MovesWon[depth - 1]; }

    GameRecord& rec_;
    std::uint64_t nodes_ = 0;
};

}  // namespace quorbel::testing
