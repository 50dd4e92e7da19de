// The real window driven like a user: clicks on its buttons, checked on its widgets and pixels.

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "ai/move_driver.h"
#include "ui/qt/controls.h"
#include "ui/qt/title_bar.h"
#include "window_fixture.h"

using namespace quorbel;
using namespace quorbel::testing;

namespace {

// Runs action on the modal dialog as soon as one is open; fails the check if none opens.
void onModalDialog(std::function<void(QWidget&)> action, int triesLeft = 100) {
    QTimer::singleShot(20, [action = std::move(action), triesLeft] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            action(*modal);
        } else if (triesLeft > 0) {
            onModalDialog(action, triesLeft - 1);
        }
    });
}

// The controls the key reaches one after another, from the focus round to it again.
QStringList keyboardRound(Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QString first = focused();
    QStringList reached;
    do {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, modifiers);
        reached << focused();
    } while (reached.last() != first && reached.size() < 30);
    return reached;
}

void activate(WindowFixture& f) {
    f.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
}

int countCells(WindowFixture& f, const QColor& colour) {
    const QImage image = f.window.grab().toImage();
    int n = 0;
    for (int cell = 0; cell < kCells; ++cell) {
        const QWidget* shape = f.find({Control::Feld, cell});
        n += image.pixelColor(shape->mapTo(&f.window, shape->rect().center())) == colour ? 1 : 0;
    }
    return n;
}

// Thinks, off the GUI thread as the real computer does, until told to stop; then plays column 1.
class StoppableThinker : public ComputerPlayer {
  public:
    void MakeCompMove(GameRecord& rec, int /*level*/, PlayerHost& host) override {
        host.runWhileBusy([this] {
            for (int waited = 0; waited < 10000 && !stop; waited += 5) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            stoppedEarly = stop.load();
        });
        rec.CurCol = 1;
    }
    void StopThinking() override { stop = true; }

    std::atomic<bool> stop{false};
    bool stoppedEarly = false;
};

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT

  private slots:
    void everyControlHasItsNameAndPlace_data();
    void everyControlHasItsNameAndPlace();
    void startUpShowsOnlyStartInfoAndEnde();
    void startShowsTheColumnButtons();
    void columnClickDropsRedAndTheComputerAnswersBlue_data();
    void columnClickDropsRedAndTheComputerAnswersBlue();
    void theRealComputerAnswers();
    void takeBackRemovesOneStoneAtATime();
    void compZugLetsTheComputerPlayTheSideToMove();
    void neuesSpielReturnsToTheIdleWindow();
    void styleOptionsSetThePlayingStyle();
    void optionFramesAreSeparateChoicesAndMengegenIsFixed();
    void levelStaysWithinOneToTen();
    void tabReachesEveryControlInScreenOrder();
    void focusGoesWhereThePlayerGoesNext();
    void digitsPlayColumnsAndEnterPressesTheFocusedButton();
    void theBoardIsWalkedCellByCellAndReadByKeys();
    void theRoomLeftIsSaidWhereTheFocusStays();
    void focusIsShownOutsideCaptionsAndInsidePictureButtons();
    void ownTitleBarOffersOnlyItsCloseBoxWhichAnswersDuringAShow();
    void infoDialogIsModalAndClosesWithEnter();
    void infoDialogClosesWithItsCloseBoxAndOpensAgain();
    void endeClosesTheWindow();
    void closeBoxEndsTheThinkingAndDropsWaitingClicks();
    void closeBoxEndsAShowAtOnceAndClicksWaitForTheShow();
    void clicksWhileTheComputerThinksAreHandledAfterItsMove();
    void screenReaderActionsKeepTheirOrder();
    void screenReadersSeeTheBoardAsATableOfItsCells();
};

void WindowTest::everyControlHasItsNameAndPlace_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");  // in window pixels; 15 twips a pixel
    QTest::newRow("Feld_0") << "Feld_0" << QRect(24, 248, 49, 33);
    QTest::newRow("Feld_5") << "Feld_5" << QRect(24, 48, 49, 33);
    QTest::newRow("Feld_36") << "Feld_36" << QRect(312, 248, 49, 33);
    QTest::newRow("Feld_41") << "Feld_41" << QRect(312, 48, 49, 33);
    QTest::newRow("cmdFeld_0") << "cmdFeld_0" << QRect(24, 8, 49, 33);
    QTest::newRow("cmdFeld_6") << "cmdFeld_6" << QRect(312, 8, 49, 33);
    QTest::newRow("Line1") << "Line1" << QRect(24, 48, 1, 241);
    QTest::newRow("Line8") << "Line8" << QRect(360, 48, 1, 241);
    QTest::newRow("Line9") << "Line9" << QRect(24, 288, 337, 1);
    QTest::newRow("ProgBar") << "ProgBar" << QRect(24, 290, 512, 13);
    QTest::newRow("fraAnzeige") << "fraAnzeige" << QRect(384, 8, 153, 281);
    QTest::newRow("lblZugfeld") << "lblZugfeld" << QRect(400, 24, 127, 33);
    QTest::newRow("lblZug") << "lblZug" << QRect(400, 72, 127, 49);
    QTest::newRow("shpRot") << "shpRot" << QRect(392, 136, 49, 33);
    QTest::newRow("lblBlau") << "lblBlau" << QRect(440, 184, 87, 33);
    QTest::newRow("lblMessage") << "lblMessage" << QRect(400, 232, 127, 49);
    QTest::newRow("fraMenü") << "fraMenü" << QRect(24, 304, 513, 185);
    QTest::newRow("cmdMenü_0") << "cmdMenü_0" << QRect(32, 312, 65, 41);
    QTest::newRow("cmdMenü_3 left of 2") << "cmdMenü_3" << QRect(200, 312, 65, 41);
    QTest::newRow("cmdMenü_2") << "cmdMenü_2" << QRect(284, 312, 65, 41);
    QTest::newRow("cmdMenü_5") << "cmdMenü_5" << QRect(456, 312, 65, 41);
    QTest::newRow("fraAnfang") << "fraAnfang" << QRect(32, 360, 233, 57);
    QTest::newRow("optMen") << "optMen" << QRect(160, 384, 97, 27);
    QTest::newRow("fraSpielstärke") << "fraSpielstärke" << QRect(296, 360, 233, 57);
    QTest::newRow("lblStärke") << "lblStärke" << QRect(408, 384, 25, 25);
    QTest::newRow("updLevel") << "updLevel" << QRect(432, 384, 18, 25);
    QTest::newRow("lblTime") << "lblTime" << QRect(452, 386, 69, 19);
    QTest::newRow("fraMengegen") << "fraMengegen" << QRect(32, 424, 233, 57);
    QTest::newRow("optMenMen") << "optMenMen" << QRect(160, 448, 89, 25);
    QTest::newRow("fraSpielweise") << "fraSpielweise" << QRect(296, 424, 233, 57);
    QTest::newRow("optdefensiv") << "optdefensiv" << QRect(416, 448, 89, 29);
}

void WindowTest::everyControlHasItsNameAndPlace() {
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    WindowFixture f;
    QCOMPARE(f.window.objectName(), QString("frmQuorbel"));
    QCOMPARE(f.window.windowTitle(), QString("Quorbel"));
    QCOMPARE(f.window.size(), QSize(548, 495));
    QCOMPARE(f.window.minimumSize(), f.window.maximumSize());
    QVERIFY(!(f.window.windowFlags() & Qt::WindowMaximizeButtonHint));

    const QWidget* widget = f.find(name);
    QVERIFY2(widget != nullptr, qPrintable(name));
    QCOMPARE(QRect(widget->mapTo(&f.window, QPoint()), widget->size()), geometry);
}

void WindowTest::startUpShowsOnlyStartInfoAndEnde() {
    WindowFixture f;
    QVERIFY(f.ready);
    const bool menuShown[6] = {true, false, false, false, true, true};
    for (int index = 0; index < 6; ++index) {
        QCOMPARE(f.shown({Control::cmdMenue, index}), menuShown[index]);
        QVERIFY(!f.find<QAbstractButton>({Control::cmdMenue, index})->accessibleName().isEmpty());
    }
    for (int index = 0; index < kColumns; ++index) {
        QVERIFY(!f.shown({Control::cmdFeld, index}));
        QCOMPARE(f.find({Control::cmdFeld, index})->accessibleName(),
                 QString("Spalte %1").arg(index + 1));
    }
    // Form_Load has run: names in the options, the timer counting towards its first show.
    QCOMPARE(f.find<QRadioButton>(Control::optMen)->text(), QString("Mensch"));
    QCOMPARE(f.find<QRadioButton>(Control::optMenMen)->text(), QString("Mensch"));
    QCOMPARE(f.window.timer1().interval(), 1000);
    QVERIFY(f.window.timer1().isActive());
    QCOMPARE(f.text(Control::lblStaerke), QString("1"));
}

void WindowTest::startShowsTheColumnButtons() {
    WindowFixture f;
    f.clickMenu(0);
    for (int index = 0; index < kColumns; ++index) {
        QVERIFY(f.shown({Control::cmdFeld, index}));
        QCOMPARE(f.columnButtonPixel(index + 1), kLightGreenShown);
    }
    QVERIFY(!f.shown({Control::cmdMenue, 0}));
    for (int index = 1; index <= 5; ++index) {
        QVERIFY(f.shown({Control::cmdMenue, index}));
    }
    QCOMPARE(f.text(Control::lblZugfeld), QString("1. Zug"));
    QCOMPARE(f.text(Control::lblZug), QString("Mensch ist am Zug"));
    QCOMPARE(countCells(f, kWhiteShown), kCells);
}

void WindowTest::columnClickDropsRedAndTheComputerAnswersBlue_data() {
    QTest::addColumn<int>("human");
    QTest::addColumn<int>("computer");
    QTest::addColumn<int>("computerRow");
    QTest::newRow("left edge, answer beside") << 1 << 2 << 1;
    QTest::newRow("centre, answer on top") << 4 << 4 << 2;
    QTest::newRow("right edge, answer far left") << 7 << 1 << 1;
}

void WindowTest::columnClickDropsRedAndTheComputerAnswersBlue() {
    QFETCH(int, human);
    QFETCH(int, computer);
    QFETCH(int, computerRow);
    WindowFixture f;
    f.clickMenu(0);
    f.player.columns = {computer};
    f.clickColumn(human);

    QCOMPARE(f.cellPixel(human, 1), kRedShown);
    QCOMPARE(f.cellPixel(computer, computerRow), kBlueShown);
    QCOMPARE(countCells(f, kWhiteShown), kCells - 2);
    // Only the computer's column stays marked, in its colour.
    for (int column = 1; column <= kColumns; ++column) {
        QCOMPARE(f.columnButtonPixel(column), column == computer ? kBlueShown : kLightGreenShown);
    }
    QCOMPARE(f.text(Control::lblZugfeld), QString("3. Zug"));
}

void WindowTest::theRealComputerAnswers() {
    MoveDriver computer;
    WindowFixture f(&computer);
    f.clickMenu(0);
    f.clickColumn(4);
    QCOMPARE(countCells(f, kRedShown), 1);
    QCOMPARE(countCells(f, kBlueShown), 1);
    QCOMPARE(f.window.cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(f.text(Control::lblZug), QString("Mensch ist am Zug"));
}

void WindowTest::takeBackRemovesOneStoneAtATime() {
    WindowFixture f;
    f.clickMenu(0);
    f.player.columns = {5};
    f.clickColumn(4);

    f.clickMenu(2);  // the computer's stone goes; its colour, blue, is the human's now
    QCOMPARE(f.cellPixel(5, 1), kWhiteShown);
    QCOMPARE(f.cellPixel(4, 1), kRedShown);
    QCOMPARE(f.text(Control::lblBlau), QString("Mensch"));
    QCOMPARE(f.text(Control::lblZug), QString("Mensch ist am Zug"));
    QCOMPARE(f.text(Control::lblZugfeld), QString("2. Zug"));
    QCOMPARE(f.columnButtonPixel(4), kRedShown);  // the last stone left is marked

    f.clickMenu(2);
    QCOMPARE(countCells(f, kWhiteShown), kCells);
    QCOMPARE(f.text(Control::lblRot), QString("Mensch"));
    QCOMPARE(f.text(Control::lblZugfeld), QString("1. Zug"));
    for (int column = 1; column <= kColumns; ++column) {
        QCOMPARE(f.columnButtonPixel(column), kLightGreenShown);
    }

    f.clickMenu(2);  // nothing left to take back
    QCOMPARE(f.rec().MoveNr, 1);
    QCOMPARE(countCells(f, kWhiteShown), kCells);
}

void WindowTest::compZugLetsTheComputerPlayTheSideToMove() {
    WindowFixture f;
    f.clickMenu(0);
    f.player.columns = {3, 3};

    f.clickMenu(3);  // the computer takes red, the human's colour
    QCOMPARE(f.cellPixel(3, 1), kRedShown);
    QCOMPARE(f.text(Control::lblRot), QString("Computer"));
    QCOMPARE(f.text(Control::lblBlau), QString("Mensch"));
    QCOMPARE(f.text(Control::lblZug), QString("Mensch ist am Zug"));
    QCOMPARE(f.text(Control::lblZugfeld), QString("2. Zug"));

    f.clickMenu(3);  // and now blue
    QCOMPARE(f.cellPixel(3, 2), kBlueShown);
    QCOMPARE(f.text(Control::lblRot), QString("Mensch"));
    QCOMPARE(f.text(Control::lblBlau), QString("Computer"));
    QCOMPARE(f.text(Control::lblZugfeld), QString("3. Zug"));
    QCOMPARE(f.player.calls, 2);
    QVERIFY(f.window.timer1().isActive());
}

void WindowTest::neuesSpielReturnsToTheIdleWindow() {
    WindowFixture f;
    auto& up = f.window.levelControl().upButton();
    for (int press = 0; press < 4; ++press) {
        QTest::mouseClick(&up, Qt::LeftButton);
    }
    QCOMPARE(f.text(Control::lblStaerke), QString("5"));
    f.clickMenu(0);
    f.player.columns = {2};
    f.clickColumn(1);

    f.clickMenu(1);
    QCOMPARE(countCells(f, kWhiteShown), kCells);
    QVERIFY(f.shown({Control::cmdMenue, 0}));
    for (int index = 1; index <= 3; ++index) {
        QVERIFY(!f.shown({Control::cmdMenue, index}));
    }
    for (int index = 0; index < kColumns; ++index) {
        QVERIFY(!f.shown({Control::cmdFeld, index}));
    }
    for (Control label :
         {Control::lblRot, Control::lblBlau, Control::lblZug, Control::lblZugfeld}) {
        QCOMPARE(f.text(label), QString());
    }
    QCOMPARE(f.text(Control::lblStaerke), QString("1"));
    QTest::mouseClick(&up, Qt::LeftButton);  // counts on from the level shown
    QCOMPARE(f.text(Control::lblStaerke), QString("2"));
}

void WindowTest::styleOptionsSetThePlayingStyle() {
    WindowFixture f;
    QVERIFY(f.rec().Defensive);
    f.click(Control::optaggressiv);
    QVERIFY(f.find<QRadioButton>(Control::optaggressiv)->isChecked());
    QVERIFY(!f.rec().Defensive);

    f.clickMenu(0);
    f.player.columns = {1};
    f.clickColumn(4);
    f.click(Control::optdefensiv);  // also in the middle of a game
    QVERIFY(f.rec().Defensive);
    QVERIFY(!f.find<QRadioButton>(Control::optaggressiv)->isChecked());
}

void WindowTest::optionFramesAreSeparateChoicesAndMengegenIsFixed() {
    WindowFixture f;
    auto* optComp = f.find<QRadioButton>(Control::optComp);
    f.click(Control::optComp);
    QVERIFY(optComp->isChecked());
    QVERIFY(!f.find<QRadioButton>(Control::optMen)->isChecked());
    QVERIFY(f.find<QRadioButton>(Control::optdefensiv)->isChecked());
    QVERIFY(f.find<QRadioButton>(Control::optMenComp)->isChecked());

    f.click(Control::optMenMen);
    QVERIFY(!f.find<QRadioButton>(Control::optMenMen)->isChecked());
    QVERIFY(f.find<QRadioButton>(Control::optMenComp)->isChecked());

    // Every arrow key chooses the other option of the frame, and the game hears of it.
    activate(f);
    optComp->setFocus();
    for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Left, Qt::Key_Right}) {
        const bool computerBegan = f.window.game().settings().computerBegins;
        QTest::keyClick(QApplication::focusWidget(), key);
        QCOMPARE(f.window.game().settings().computerBegins, !computerBegan);
    }

    // The computer begins: its red stone is on the board when the column buttons appear.
    f.player.columns = {4};
    f.clickMenu(0);
    QCOMPARE(f.cellPixel(4, 1), kRedShown);
    QCOMPARE(f.text(Control::lblZug), QString("Mensch ist am Zug"));
    QCOMPARE(f.text(Control::lblBlau), QString("Mensch"));
}

// By the arrows, and by Up, Down, "+" and "-" with the focus on the level control.
void WindowTest::levelStaysWithinOneToTen() {
    WindowFixture f;
    auto& level = f.window.levelControl();
    for (int press = 0; press < 12; ++press) {
        QTest::mouseClick(&level.upButton(), Qt::LeftButton);
    }
    QCOMPARE(f.text(Control::lblStaerke), QString("10"));
    QTest::mouseClick(&level.downButton(), Qt::LeftButton);
    QCOMPARE(f.text(Control::lblStaerke), QString("9"));
    for (int press = 0; press < 12; ++press) {
        QTest::mouseClick(&level.downButton(), Qt::LeftButton);
    }
    QCOMPARE(f.text(Control::lblStaerke), QString("1"));

    for (const auto& [key, after] : {std::pair{Qt::Key_Up, "2"},
                                     {Qt::Key_Plus, "3"},
                                     {Qt::Key_Down, "2"},
                                     {Qt::Key_Minus, "1"},
                                     {Qt::Key_Minus, "1"}}) {
        QTest::keyClick(&level, key);
        QCOMPARE(f.text(Control::lblStaerke), QString(after));
    }
}

void WindowTest::tabReachesEveryControlInScreenOrder() {
    WindowFixture f;
    activate(f);
    const QStringList settings = {"optComp", "optMen", "updLevel", "optaggressiv", "optdefensiv"};
    QCOMPARE(focused(), QString("cmdMenü_0"));
    QStringList beforeAGame = QStringList{"cmdMenü_4", "cmdMenü_5"} + settings;
    beforeAGame << "cmdMenü_0";
    QCOMPARE(keyboardRound(), beforeAGame);
    QStringList backwards = beforeAGame.mid(0, beforeAGame.size() - 1);
    std::reverse(backwards.begin(), backwards.end());
    QCOMPARE(keyboardRound(Qt::ShiftModifier), backwards << "cmdMenü_0");

    f.clickMenu(0);
    QStringList inAGame;
    for (int index = 0; index < kColumns; ++index) {
        inAGame << QString("cmdFeld_%1").arg(index);
    }
    inAGame << "cmdMenü_1"
            << "cmdMenü_3"
            << "cmdMenü_2"
            << "cmdMenü_4"
            << "cmdMenü_5";
    inAGame += settings;
    QCOMPARE(focused(), QString("cmdFeld_3"));
    const QStringList round = keyboardRound();
    QCOMPARE(round, inAGame.mid(4) + inAGame.mid(0, 4));
}

void WindowTest::focusGoesWhereThePlayerGoesNext() {
    WindowFixture f;
    activate(f);
    f.clickMenu(0);
    QCOMPARE(focused(), QString("cmdFeld_3"));  // the middle column, whatever was clicked
    f.player.columns = {7, 7, 7, 5};
    for (int column = 1; column <= 3; ++column) {
        f.clickColumn(column);
        QCOMPARE(focused(), QString("cmdFeld_%1").arg(column - 1));
    }
    f.clickColumn(4);  // the four: the game is over
    QCOMPARE(focused(), QString("cmdMenü_1"));

    f.clickMenu(2);  // the winning stone goes, the game goes on
    QCOMPARE(f.rec().GameState, kGameRunning);
    QCOMPARE(focused(), QString("cmdFeld_3"));
    f.clickMenu(3);
    QCOMPARE(f.rec().Board(5, 1), kRed);
    QCOMPARE(focused(), QString("cmdFeld_3"));
    f.clickMenu(1);
    QCOMPARE(focused(), QString("cmdMenü_0"));
}

void WindowTest::digitsPlayColumnsAndEnterPressesTheFocusedButton() {
    WindowFixture f;
    activate(f);
    QTest::keyClick(&f.window, Qt::Key_4);  // no column button before a game
    QCOMPARE(f.rec().MoveNr, 0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);  // "Start"
    QCOMPARE(f.rec().GameState, kGameRunning);

    f.player.columns = {7, 7};
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_3, Qt::ControlModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_3, Qt::AltModifier);
    QCOMPARE(f.rec().MoveNr, 1);  // a shortcut of the desktop's, never a move
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_3);
    QCOMPARE(f.rec().Board(3, 1), kRed);
    QCOMPARE(focused(), QString("cmdFeld_2"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    QCOMPARE(f.rec().Board(3, 2), kRed);
    QCOMPARE(f.rec().MoveNr, 5);

    f.find(Control::optaggressiv)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(!f.rec().Defensive);
}

// Down on a column button enters the board; the arrows walk it, Space plays the cell's column,
// Escape and Up from the top row go back to the column button. The reading keys speak of the cell.
void WindowTest::theBoardIsWalkedCellByCellAndReadByKeys() {
    WindowFixture f;
    activate(f);
    f.clickMenu(0);
    f.player.columns = {5, 1};
    const auto key = [](Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); };
    key(Qt::Key_4);
    QCOMPARE(focused(), QString("cmdFeld_3"));
    key(Qt::Key_Down);
    QCOMPARE(focused(), QString("Feld_%1").arg(cellIndex(4, 6)));
    key(Qt::Key_Right);
    for (int i = 0; i < 6; ++i) {
        key(Qt::Key_Down);
    }
    QCOMPARE(focused(), QString("Feld_%1").arg(cellIndex(5, 1)));
    QCOMPARE(f.announced(), QString("Spalte 5, Reihe 1, blau"));  // the edge: said again
    key(Qt::Key_R);
    QCOMPARE(f.announced(), QString("Reihe 1 von links leer, leer, leer, rot, blau, leer, leer."));

    key(Qt::Key_Space);  // column 5, from the cell, which keeps the focus
    QCOMPARE(f.rec().Board(5, 2), kRed);
    QCOMPARE(f.rec().Board(1, 1), kBlue);
    QCOMPARE(focused(), QString("Feld_%1").arg(cellIndex(5, 1)));
    QCOMPARE(f.announced(), QString("Spalte 5, 4 Felder frei"));
    key(Qt::Key_S);
    QCOMPARE(f.announced(), QString("Spalte 5 blau, rot, 4 Felder frei."));

    key(Qt::Key_Escape);
    QCOMPARE(focused(), QString("cmdFeld_4"));
    key(Qt::Key_Down);
    key(Qt::Key_Up);
    QCOMPARE(focused(), QString("cmdFeld_4"));
}

// Where the focus stays on the played column, its room is said once the move is done, also when
// the move fills it; a press the game refuses is answered by why, and by nothing more.
void WindowTest::theRoomLeftIsSaidWhereTheFocusStays() {
    WindowFixture f;
    activate(f);
    f.clickMenu(0);
    f.player.columns = {4, 4, 4};
    for (const char* room :
         {"Spalte 4, 4 Felder frei", "Spalte 4, 2 Felder frei", "Spalte 4 voll"}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(focused(), QString("cmdFeld_3"));
        QCOMPARE(f.announced(), QString(room));
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QCOMPARE(f.announced(), QString("Spalte 4 ist voll"));
}

// A captioned control looks the same with the focus as without: the ring lies around it. A
// picture button shows its frame inside the bevel.
void WindowTest::focusIsShownOutsideCaptionsAndInsidePictureButtons() {
    WindowFixture f;
    activate(f);
    f.clickMenu(0);
    const QColor black(0, 0, 0);
    for (const QString name : {"cmdMenü_1", "cmdMenü_2", "optaggressiv", "updLevel"}) {
        QWidget* control = f.find(name);
        // The level control is framed together with its number, which stands left of it.
        const QWidget* leftmost = name == "updLevel" ? f.find(Control::lblStaerke) : control;
        const QPoint ring(-leftmost->width() / 2 - 3, 0);
        const QImage without = control->grab().toImage();
        QVERIFY2(f.pixelAt(leftmost, ring) != black, qPrintable(name));
        control->setFocus();
        QCOMPARE(control->grab().toImage(), without);
        QVERIFY2(f.pixelAt(leftmost, ring) == black, qPrintable(name));
    }
    QWidget* column = f.find({Control::cmdFeld, 0});
    const QPoint insideBevel(-column->width() / 2 + 2, 0);
    QVERIFY(f.pixelAt(column, insideBevel) != black);
    column->setFocus();
    QCOMPARE(f.pixelAt(column, insideBevel), black);
}

void WindowTest::ownTitleBarOffersOnlyItsCloseBoxWhichAnswersDuringAShow() {
    WindowFixture f(nullptr, WindowFixture::Shows::Watched);
    QWidget* cell = f.find({Control::Feld, 0});
    const QPoint board = cell->mapTo(&f.window, QPoint());
    const QSize inside = f.window.size();
    TitleBar::add(f.window);
    QCOMPARE(f.window.size(), inside + QSize(0, TitleBar::kHeight));
    QCOMPARE(cell->mapTo(&f.window, QPoint()), board + QPoint(0, TitleBar::kHeight));
    QVERIFY(f.window.windowFlags() & Qt::FramelessWindowHint);
    const auto buttons = f.find("titleBar")->findChildren<QAbstractButton*>();
    QCOMPARE(buttons.size(), 1);
    QCOMPARE(buttons.first()->accessibleName(), QString::fromUtf8("Schließen"));

    f.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    bool closedAtOnce = false;
    onShow(f, [&] {
        QTest::mouseClick(buttons.first(), Qt::LeftButton);
        closedAtOnce = !f.window.isVisible();
    });
    QTRY_VERIFY_WITH_TIMEOUT(!f.window.isVisible(), 5000);
    QVERIFY(closedAtOnce);
}

void WindowTest::infoDialogIsModalAndClosesWithEnter() {
    WindowFixture f;
    f.clickMenu(0);
    f.player.columns = {2};
    f.clickColumn(3);
    const GameRecord before = f.rec();

    QString seenName, seenText, seenTitle;
    bool seenModal = false;
    QSize seenSize;
    onModalDialog([&](QWidget& dialog) {
        seenName = dialog.objectName();
        seenModal = dialog.isModal();
        seenTitle = dialog.windowTitle();
        seenSize = dialog.size();
        if (auto* label = dialog.findChild<QLabel*>("Label1")) {
            seenText = label->text();
        }
        QTest::keyClick(&dialog, Qt::Key_Return);
    });
    f.clickMenu(4);  // returns only when the dialog is closed

    QCOMPARE(seenName, QString("frmInfo"));
    QVERIFY(seenModal);
    // Blank but not empty: for an empty title the platform shows the application's name.
    QVERIFY2(!seenTitle.isEmpty() && seenTitle.trimmed().isEmpty(), qPrintable(seenTitle));
    QCOMPARE(seenSize, QSize(428, 213));
    const QStringList items = {"Quorbel - Version 2.0", "Quorbel-Entwickler",
                               "Viel Spass beim Spielen!", "Anregungen an:", "@example.org"};
    qsizetype from = 0;
    for (const QString& item : items) {
        const qsizetype at = seenText.indexOf(item, from);
        QVERIFY2(at >= 0, qPrintable(item));
        from = at + item.size();
    }
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QVERIFY(f.rec().MoveNr == before.MoveNr && f.rec().Board == before.Board &&
            f.rec().GameState == before.GameState);
}

void WindowTest::infoDialogClosesWithItsCloseBoxAndOpensAgain() {
    WindowFixture f;
    int opened = 0;
    for (int round = 0; round < 2; ++round) {
        onModalDialog([&](QWidget& dialog) {
            ++opened;
            dialog.close();
        });
        f.clickMenu(4);
    }
    QCOMPARE(opened, 2);
    QVERIFY(f.window.isVisible());
}

void WindowTest::endeClosesTheWindow() {
    WindowFixture f;
    f.clickMenu(5);
    QVERIFY(!f.window.isVisible());
    QVERIFY(!f.window.timer1().isActive());
}

void WindowTest::closeBoxEndsTheThinkingAndDropsWaitingClicks() {
    StoppableThinker thinker;
    WindowFixture f(&thinker);
    f.clickMenu(0);
    QWidget* neuesSpiel = f.find({Control::cmdMenue, 1});
    // While the computer thinks: a click on "Neues Spiel", then the close box.
    QTimer::singleShot(50, [&] {
        QTest::mouseClick(neuesSpiel, Qt::LeftButton);
        QCoreApplication::postEvent(f.window.windowHandle(), new QCloseEvent);
    });
    f.clickColumn(4);
    QVERIFY(thinker.stoppedEarly);
    QVERIFY(!f.window.isVisible());
    QCOMPARE(f.rec().GameState, kGameRunning);  // "Neues Spiel" had no effect
    QCOMPARE(f.rec().MoveNr, 3);                // the computer's stone was played
    QTest::qWait(50);
    QCOMPARE(f.rec().GameState, kGameRunning);
}

void WindowTest::closeBoxEndsAShowAtOnceAndClicksWaitForTheShow() {
    // The idle window's first menu-button show begins a second after start-up and lasts about one.
    WindowFixture f(nullptr, WindowFixture::Shows::Watched);
    onShow(f, [&] {
        f.clickMenu(4);  // "Info", held for after the show
        QVERIFY(f.window.toolkit().infoDialog() == nullptr);
    });
    onModalDialog([](QWidget& dialog) { dialog.close(); }, 500);
    QTRY_VERIFY_WITH_TIMEOUT(f.window.toolkit().infoDialog() != nullptr, 5000);

    WindowFixture closed(nullptr, WindowFixture::Shows::Watched);
    ShowPacer& closedPacer = closed.window.toolkit().pacer();
    int framesAtClose = -1;
    onShow(closed, [&] {
        closed.clickMenu(5);  // "Ende", dropped with the window
        framesAtClose = closedPacer.framesPresented();
        QCoreApplication::postEvent(closed.window.windowHandle(), new QCloseEvent);
    });
    QTRY_VERIFY_WITH_TIMEOUT(!closed.window.isVisible(), 5000);
    QVERIFY(framesAtClose >= 0);
    QTRY_VERIFY(!closedPacer.running());
    QCOMPARE_LE(closedPacer.framesPresented(), framesAtClose + 1);
}

void WindowTest::clicksWhileTheComputerThinksAreHandledAfterItsMove() {
    StoppableThinker thinker;
    WindowFixture f(&thinker);
    f.clickMenu(0);
    QTimer::singleShot(50, [&] {
        f.clickColumn(6);
        thinker.StopThinking();
    });
    f.clickColumn(4);
    QCOMPARE(f.rec().MoveNr, 3);  // the click waited for the computer's move
    QTRY_COMPARE(f.rec().MoveNr, 5);
    QCOMPARE(f.rec().Board(6, 1), kRed);
}

// "Neues Spiel" pressed by a screen reader puts the level back to 1; the level it sets afterwards
// must come after that.
void WindowTest::screenReaderActionsKeepTheirOrder() {
    WindowFixture f;
    f.clickMenu(0);
    QAccessibleInterface* neuesSpiel =
        QAccessible::queryAccessibleInterface(f.find({Control::cmdMenue, 1}));
    QAccessibleInterface* level = QAccessible::queryAccessibleInterface(f.find("updLevel"));
    QVERIFY(neuesSpiel != nullptr && level != nullptr && level->valueInterface() != nullptr);
    neuesSpiel->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    level->valueInterface()->setCurrentValue(5);
    QTRY_COMPARE(f.rec().GameState, kNoGame);
    QTest::qWait(300);
    QCOMPARE(f.text(Control::lblStaerke), QString("5"));
}

// A screen reader's table commands and its cell coordinates see the board as the player does:
// row 0 at the top, column 0 at the left, the cells counted row by row as Qt's bridge counts them.
void WindowTest::screenReadersSeeTheBoardAsATableOfItsCells() {
    WindowFixture f;
    QAccessibleInterface* board = QAccessible::queryAccessibleInterface(f.find("Spielfeld"));
    QVERIFY(board != nullptr && board->tableInterface() != nullptr);
    QAccessibleTableInterface* table = board->tableInterface();
    QCOMPARE(board->role(), QAccessible::Table);
    QCOMPARE(board->text(QAccessible::Name), QString("Spielfeld"));
    QCOMPARE(table->rowCount(), 6);
    QCOMPARE(table->columnCount(), 7);
    QCOMPARE(table->cellAt(0, 0)->object(), f.find({Control::Feld, 5}));   // column 1, row 6
    QCOMPARE(table->cellAt(5, 6)->object(), f.find({Control::Feld, 36}));  // column 7, row 1
    // Off the board the nearest cell: Qt's bridge would end the program on no cell.
    QCOMPARE(table->cellAt(6, -1)->object(), f.find({Control::Feld, 0}));
    QCOMPARE(table->cellAt(-3, 9)->object(), f.find({Control::Feld, 41}));
    QCOMPARE(table->rowDescription(0), QString("Reihe 6"));
    QCOMPARE(table->columnDescription(6), QString("Spalte 7"));

    QCOMPARE(board->childCount(), kCells);
    for (int index = 0; index < kCells; ++index) {
        QAccessibleInterface* cell = board->child(index);
        QVERIFY(cell != nullptr && cell->tableCellInterface() != nullptr);
        const QAccessibleTableCellInterface& place = *cell->tableCellInterface();
        QCOMPARE(cell->role(), QAccessible::Cell);
        QCOMPARE(place.rowIndex() * 7 + place.columnIndex(), index);
        QCOMPARE(table->cellAt(place.rowIndex(), place.columnIndex()), cell);
        QCOMPARE(board->indexOfChild(cell), index);
        QCOMPARE(place.table(), board);
        QCOMPARE(cell->parent(), board);
    }
}

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    prepareApplication();
    WindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "window_test.moc"
