// Thousands of random clicks on the real window's widgets, with the real computer player at low
// levels and the timer running, checking the record's invariants and the shown cell colours after
// each click. QUORBEL_CLICKS_SEED picks the seed, QUORBEL_CLICKS the number of clicks.

#include <QApplication>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "ai/move_driver.h"
#include "support/invariants.h"
#include "ui/qt/controls.h"
#include "window_fixture.h"

using namespace quorbel;
using namespace quorbel::testing;

namespace {

unsigned long long envNumber(const char* name, unsigned long long fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::strtoull(text, nullptr, 10) : fallback;
}

// Closes the info dialog as soon as it is open, as a user pressing Enter would.
void closeInfoDialogWhenOpen() {
    QTimer::singleShot(0, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            QTest::keyClick(modal, Qt::Key_Return);
        } else {
            closeInfoDialogWhenOpen();
        }
    });
}

}  // namespace

class RandomClicksTest : public QObject {
    Q_OBJECT

  private slots:
    void randomClicksKeepTheGameConsistent();
};

void RandomClicksTest::randomClicksKeepTheGameConsistent() {
    const unsigned long long seed = envNumber("QUORBEL_CLICKS_SEED", 20261207);
    const unsigned long long clicks = envNumber("QUORBEL_CLICKS", 3000);
    std::mt19937_64 random(seed);
    const auto draw = [&random](int n) {
        return std::uniform_int_distribution<int>(0, n - 1)(random);
    };

    MoveDriver computer;
    WindowFixture f(&computer);
    QVERIFY(f.ready);
    const std::vector<QString> options = {"optComp", "optMen", "optaggressiv", "optdefensiv",
                                          "optMenMen"};
    bool started = false;
    std::vector<std::string> sinceStart;
    int fours = 0;
    int draws = 0;
    int stonesPlayed = 0;

    for (unsigned long long i = 0; i < clicks; ++i) {
        const GameRecord before = f.rec();
        std::string event;
        const int pick = draw(100);
        if (pick < 55) {
            const int column = draw(7);
            event = "column " + std::to_string(column + 1);
            if (f.shown({Control::cmdFeld, column})) {
                f.click({Control::cmdFeld, column});
            }
        } else if (pick < 85) {
            const int index = draw(6);
            event = "menu " + std::to_string(index);
            if (f.shown({Control::cmdMenue, index})) {
                if (index == 4) {
                    closeInfoDialogWhenOpen();
                }
                started = started || index == 0;
                f.clickMenu(index);
                if (index == 5) {  // "Ende" closed the window: open it again for the next click
                    QVERIFY(!f.window.isVisible());
                    f.window.show();
                    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
                }
            }
        } else if (pick < 93) {
            const QString name = options[static_cast<std::size_t>(draw(5))];
            event = "option " + name.toStdString();
            QTest::mouseClick(f.find<QRadioButton>(name), Qt::LeftButton);
        } else if (pick < 97) {
            // Up to level 3, so that the computer answers at once.
            const bool up = draw(2) == 0 && f.text(Control::lblStaerke).toInt() < 3;
            event = up ? "level up" : "level down";
            UpDown& level = f.window.levelControl();
            QTest::mouseClick(up ? &level.upButton() : &level.downButton(), Qt::LeftButton);
        } else {
            event = "wait for timer";
            QTest::qWait(draw(40));
        }
        if (event == "menu 0") {
            sinceStart.clear();
        }
        sinceStart.push_back(event);

        CellColorLookup shown;
        if (started) {
            shown = [&f](int cell) { return f.window.colored({Control::Feld, cell})->color(); };
        }
        const std::string fault = checkInvariants(f.rec(), shown);
        if (!fault.empty()) {
            std::string history;
            for (const auto& e : sinceStart) {
                history += "  " + e + "\n";
            }
            QFAIL(qPrintable(QString::fromStdString("seed " + std::to_string(seed) + ", click " +
                                                    std::to_string(i) + ": " + fault +
                                                    "\nclicks since the last Start:\n" + history)));
        }
        fours += f.rec().GameState == kGameWon && before.GameState != kGameWon ? 1 : 0;
        draws += f.rec().MoveNr == kDrawMoveNr && before.MoveNr != kDrawMoveNr ? 1 : 0;
        stonesPlayed += std::max(0, f.rec().MoveNr - before.MoveNr);
        const int level = f.text(Control::lblStaerke).toInt();
        QVERIFY2(level >= 1 && level <= 10, "the level left 1..10");
    }
    qInfo("%llu random clicks with seed %llu: %d stones played, %d fours, %d draws", clicks, seed,
          stonesPlayed, fours, draws);
}

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    prepareApplication();
    RandomClicksTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "random_clicks_test.moc"
