#pragma once

// The computer player: chooses the computer's column for the position on the analysis board, in
// layers: the opening rule, an immediate four, the one-move filter, the forced-win look-ahead and
// the choice by the human's line counts. It shows its thinking through its host: the busy
// pointer, the progress bar, the thinking time and its two messages.

#include <optional>

#include "ai/computer_player.h"
#include "ai/look_ahead.h"
#include "ai/move_report.h"

namespace quorbel {

// Above level 7 early in a game the exact look-ahead would run for days. The computer searches the
// levels 1, 2, ... up to the chosen one and, once this limit is reached, plays the decision of the
// deepest level it completed.
constexpr double MaxThinkSeconds = 15;

struct PlayerOptions {
    std::optional<double> thinkLimitSeconds = MaxThinkSeconds;  // none: the chosen level only
    // Entries of 16 bytes, and a 64th as many of 32 bytes: at most 528 MiB.
    int maxLog2TableEntries = 25;
    int threads = 0;  // 0: one per core
    // The table's memory goes back after each move, while the human thinks; kept only to be
    // looked at.
    bool keepTable = false;
    // Where every level run appends its work items' times, if anywhere (quorbel-bench --trace).
    std::vector<LevelTrace>* trace = nullptr;
};

class MoveDriver : public ComputerPlayer {
  public:
    MoveDriver();
    explicit MoveDriver(const PlayerOptions& options);
    ~MoveDriver() override;

    void MakeCompMove(GameRecord& rec, int level, PlayerHost& host) override;
    // The look-ahead ends as if its time were up: the deepest level completed decides.
    void StopThinking() override { lookAhead_.Stop(); }

    // What the last call found, for the analysis tool, the benchmark and the tests.
    const MoveReport& LastReport() const { return report_; }
    const TranspositionTable& table() const { return lookAhead_.table(); }

  private:
    void OpeningStage(GameRecord& rec, PlayerHost& host);
    void StartStage(GameRecord& rec, int level, PlayerHost& host);
    bool FilterStage(GameRecord& rec, PlayerHost& host);
    bool LookAheadStage(GameRecord& rec, PlayerHost& host);
    void DefeatStage(GameRecord& rec, PlayerHost& host);
    void ChoiceStage(GameRecord& rec, PlayerHost& host);
    void ResultStage(GameRecord& rec, PlayerHost& host);
    void ShowThinkTime(const GameRecord& rec, PlayerHost& host);

    PlayerOptions options_;
    LookAhead lookAhead_;
    SteadyTime deadline_;
    MoveReport report_;
};

}  // namespace quorbel
