// How long the window's shows block input on this machine. Each show runs to its end inside one
// event handler, repainting its controls one by one, so its duration is the time the window takes
// no clicks. Runs on the real window; start it under an X server (xvfb-run) for the figures a
// desktop sees, or with QT_QPA_PLATFORM=offscreen for the painting alone.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QWindow>

#include <cstdio>
#include <memory>

#include "flow/game.h"
#include "ui/qt/frm_quorbel.h"

using namespace quorbel;

namespace {

// Answers in the lowest open column, so that the positions below come about the same way with
// whatever computer player is built in.
class LowestColumnPlayer : public ComputerPlayer {
  public:
    void MakeCompMove(Game& game) override {
        GameRecord& rec = game.record();
        for (int col = 1; col <= kColumns; ++col) {
            if (rec.WorkColHeight[col] < kRows) {
                rec.CurCol = col;
                rec.TryCompMove(col);
                if (!rec.CompWon) {
                    rec.TakeStone(col);
                }
                rec.HumanWon = false;
                return;
            }
        }
    }
};

// A shown window whose timer is off, so that only the show being measured paints.
struct ShownWindow {
    ShownWindow() {
        window.show();
        QElapsedTimer waited;
        waited.start();
        while (!window.windowHandle()->isExposed() && waited.elapsed() < 5000) {
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        }
        settle();
    }
    ~ShownWindow() { window.close(); }

    Game& game() { return window.game(); }
    void stopTimer() { window.toolkit().setTimerEnabled(false); }
    void settle() { QApplication::processEvents(); }

    LowestColumnPlayer computer;
    frmQuorbel window{computer};
};

void setRepaintCounters(benchmark::State& state, int repaintsPerRun) {
    state.counters["repaints"] = repaintsPerRun;
    // Seconds per repaint, printed with an SI prefix (u for microseconds).
    state.counters["per_repaint"] = benchmark::Counter(
        static_cast<double>(repaintsPerRun) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// No game: six menu buttons, 250 random colours each (1506 repaints).
void menuButtonShow(benchmark::State& state) {
    ShownWindow w;
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the library's idiom
        w.game().Timer1_Timer();
        w.stopTimer();
        state.PauseTiming();
        w.settle();
        state.ResumeTiming();
    }
    setRepaintCounters(state, 6 * 250 + 6);
}

// A game running: seven column buttons, 150 random colours each (1057 repaints).
void columnButtonShow(benchmark::State& state) {
    ShownWindow w;
    w.game().cmdMenue_Click(0);
    w.stopTimer();
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the library's idiom
        w.game().Timer1_Timer();
        state.PauseTiming();
        w.settle();
        state.ResumeTiming();
    }
    setRepaintCounters(state, 7 * 150 + 7);
}

// A four in the bottom row: four cells, 20 times yellow and back (160 repaints).
void winningLineBlink(benchmark::State& state) {
    ShownWindow w;
    w.game().cmdMenue_Click(0);
    for (int index : {1, 2, 3, 4}) {  // the computer stacks column 1 meanwhile
        w.game().cmdFeld_Click(index);
    }
    w.stopTimer();
    if (w.game().record().GameState != kGameWon || w.game().record().WinCells[0] != 4) {
        state.SkipWithError("the position did not end in a four");
        return;
    }
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the library's idiom
        w.game().Timer1_Timer();
        state.PauseTiming();
        w.settle();
        state.ResumeTiming();
    }
    setRepaintCounters(state, 20 * 2 * 4);
}

// A message: its label in 50 random colours (50 repaints).
void messageFlash(benchmark::State& state) {
    ShownWindow w;
    w.stopTimer();
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the library's idiom
        w.game().ShowMessage("Ich habe gewonnen !");
        state.PauseTiming();
        w.settle();
        state.ResumeTiming();
    }
    setRepaintCounters(state, 50);
}

// One played stone: its column button and landing cell five times in random colours, then in
// the stone's colour (12 repaints).
void stoneFlicker(benchmark::State& state) {
    ShownWindow w;
    Game& game = w.game();
    game.cmdMenue_Click(0);
    w.stopTimer();
    int column = 0;
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the library's idiom
        state.PauseTiming();
        column = column % kColumns + 1;
        if (game.record().ColHeight[column] == kRows) {
            game.cmdMenue_Click(1);  // a fresh board
            game.cmdMenue_Click(0);
            w.stopTimer();
        }
        game.record().CurCol = column;
        w.settle();
        state.ResumeTiming();
        game.ShowMove();
    }
    setRepaintCounters(state, 12);
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    prepareApplication();
    benchmark::Initialize(&argc, argv);
    std::printf("platform: %s\n", qPrintable(QGuiApplication::platformName()));

    const auto shows = {
        benchmark::RegisterBenchmark("menu-button show", menuButtonShow),
        benchmark::RegisterBenchmark("column-button show", columnButtonShow),
        benchmark::RegisterBenchmark("winning-line blink (4 cells)", winningLineBlink),
        benchmark::RegisterBenchmark("message flash (ShowMessage)", messageFlash),
        benchmark::RegisterBenchmark("stone flicker (ShowMove)", stoneFlicker),
    };
    for (auto* show : shows) {
        show->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
