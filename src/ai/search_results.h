#pragma once

// What one search of the look-ahead hands back to its caller: the human's replies to a computer
// stone (what the transposition table keeps), and the computer's answers to a human stone.

#include "ai/move_report.h"

namespace quorbel {

struct HumanReplies {
    bool lost = false;  // a reply refutes the computer move: a forced loss
    bool won = false;   // every reply is answered by a forced win
    LineTally lines;    // the human lines counted at the horizon below, up to the refutation
};

struct CompAnswers {
    bool allLose = false;  // there is an answer and every one is a forced loss
    bool won = false;      // an answer makes four or wins by force
    LineTally lines;       // up to the four or the forced win
};

}  // namespace quorbel
