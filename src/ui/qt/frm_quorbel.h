#pragma once

// The main window: every control at its place, the window's events handed to the game logic.

#include <QWidget>

#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "flow/game.h"
#include "flow/inbox.h"
#include "ui/qt/controls.h"
#include "ui/qt/input_line.h"
#include "ui/qt/qt_toolkit.h"

class QLabel;
class QRadioButton;
class QTimer;

namespace quorbel {

// The application-wide look the window is drawn for (the Fusion style and the program's icon), and
// what assistive technology reads of it. Call it once the QApplication exists.
void prepareApplication();

class frmQuorbel : public QWidget {
    Q_OBJECT
  public:
    // Builds the window and hands it its load event; the computer player must outlive the window.
    explicit frmQuorbel(ComputerPlayer& player);
    ~frmQuorbel() override;

    Game& game() { return game_; }
    QtToolkit& toolkit() { return toolkit_; }
    // Every press of the window's controls and every tick of Timer1 goes through it.
    Inbox& inbox() { return inbox_; }

    // The widget of a control the game addresses, null for an index outside its array.
    QWidget* control(ControlRef ref) const;
    Colored* colored(ControlRef ref) const;
    QTimer& timer1() const { return *Timer1; }
    ProgressBar& progressBar() const { return *ProgBar; }
    UpDown& levelControl() const { return *updLevel; }
    Announcer& announcer() { return announcer_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildBoard();
    void buildStatusPanel();
    void buildMenuButtons();
    void buildSettings();
    void listControls();
    void nameForAssistiveTechnology();
    void connectEvents();
    void postClick(Event click);
    void setKeyboardOrder();
    void focusNextStep(const Event& handled);
    int columnOf(const QWidget* widget) const;
    int cellOf(const QWidget* widget) const;
    void followFocus(const QWidget* focused);
    static std::optional<Game::Reading> readingOf(const QKeyEvent& event);
    void readOut(Game::Reading reading);
    bool walkBoard(const QKeyEvent& event);
    InputLine::KeyTurn keyTurn(const QKeyEvent& event) const;

    std::array<CircleShape*, 42> Feld{};
    std::array<ColorButton*, 7> cmdFeld{};
    std::array<ColorButton*, 6> cmdMenue{};
    ProgressBar* ProgBar = nullptr;

    Frame* fraAnzeige = nullptr;
    CaptionLabel* lblZugfeld = nullptr;
    CaptionLabel* lblZug = nullptr;
    CircleShape* shpRot = nullptr;
    CaptionLabel* lblRot = nullptr;
    CircleShape* shpBlau = nullptr;
    CaptionLabel* lblBlau = nullptr;
    CaptionLabel* lblMessage = nullptr;

    Frame* fraMenue = nullptr;
    Frame* fraAnfang = nullptr;
    Frame* fraSpielstaerke = nullptr;
    Frame* fraMengegen = nullptr;
    Frame* fraSpielweise = nullptr;
    QRadioButton* optComp = nullptr;
    QRadioButton* optMen = nullptr;
    QRadioButton* optMenComp = nullptr;
    QRadioButton* optMenMen = nullptr;
    QRadioButton* optaggressiv = nullptr;
    QRadioButton* optdefensiv = nullptr;
    CaptionLabel* lblLevel = nullptr;
    CaptionLabel* lblStaerke = nullptr;
    UpDown* updLevel = nullptr;
    CaptionLabel* lblTime = nullptr;

    QTimer* Timer1 = nullptr;
    // The controls the game addresses, by Control and index, found by their object names.
    std::array<std::vector<QWidget*>, kControlCount> controls_{};
    int focusedColumn_ = kColumns / 2;  // the column the player is at, from 0
    int stonesSeen_ = 0;                // on the board after the last event handled

    Announcer announcer_{*this};
    ComputerPlayer& player_;
    QtToolkit toolkit_;
    Game game_;
    Inbox inbox_{toolkit_, game_};
    std::unique_ptr<InputLine> input_;
};

}  // namespace quorbel
