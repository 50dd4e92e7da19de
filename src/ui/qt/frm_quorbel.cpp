#include "ui/qt/frm_quorbel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QRadioButton>
#include <QStyleFactory>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <utility>

#include "flow/accessible_text.h"
#include "ui/qt/accessibility.h"
#include "ui/qt/controls.h"
#include "ui/qt/input_line.h"
#include "ui/qt/title_bar.h"

namespace quorbel {

namespace {

// Colours the platform decides: the classic desktop colour behind the status panel and the
// settings, and the title-bar text colour that lblMessage shows until its first message.
const QColor kWindowBackground(128, 255, 255);
constexpr Color kDesktopColor = rgb(0, 128, 128);
constexpr Color kTitleBarTextColor = rgb(255, 255, 255);
const QColor kDefaultText(0, 0, 0);

constexpr Color kColumnButtonColor = rgb(0, 192, 0);
constexpr Color kYellow = rgb(255, 255, 0);
constexpr Color kGreen = rgb(0, 255, 0);
constexpr Color kGrey = rgb(128, 128, 128);
constexpr Color kWhite = rgb(255, 255, 255);
const QColor kOptionText(0, 0, 255);
const QColor kDarkBlueCaption(0, 0, 192);
const QColor kBlueCaption(0, 0, 255);

constexpr int kCellDiameter = px(495);

Color platformColor(QPalette::ColorRole role) {
    return fromQColor(QApplication::palette().color(QPalette::Active, role));
}

template <typename T>
T* named(T* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

QString nameOf(ControlRef ref) {
    return QString::fromStdString(objectName(ref));
}

QRadioButton* makeOption(QWidget* frame, Control control, const QString& caption,
                         const QRect& geometry, Color background, bool selected) {
    auto* option = named(new OptionButton(caption, frame), nameOf(control));
    option->setGeometry(geometry);
    option->setFont(windowFont(12));
    option->setChecked(selected);
    option->setAutoFillBackground(true);
    // Buttons fill their background with the Button role, Fusion draws their text with WindowText.
    QPalette palette = option->palette();
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Button}) {
        palette.setColor(role, toQColor(background));
    }
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText}) {
        palette.setColor(role, kOptionText);
    }
    option->setPalette(palette);
    return option;
}

Frame* makeCaptionedFrame(QWidget* parent, const QString& name, const QRect& geometry,
                          const QString& caption, Color background, QColor captionColor) {
    auto* frame = named(new Frame(toQColor(background), caption, captionColor, parent), name);
    frame->setAccessibleName(caption);
    frame->setGeometry(geometry);
    frame->setFont(windowFont(12));
    return frame;
}

CaptionLabel* makeLabel(QWidget* parent, Control control, const QRect& geometry,
                        const QString& caption, Color background, QColor textColor,
                        const QFont& font, bool bordered) {
    auto* label =
        named(new CaptionLabel(caption, background, textColor, bordered, parent), nameOf(control));
    label->setGeometry(geometry);
    label->setFont(font);
    return label;
}

}  // namespace

void prepareApplication() {
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setWindowIcon(quorbelIcon());
    installAccessibility();
}

frmQuorbel::frmQuorbel(ComputerPlayer& player)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint),
      player_(player),
      toolkit_(*this),
      game_(toolkit_, player) {
    setObjectName(QStringLiteral("frmQuorbel"));
    setWindowTitle(QStringLiteral("Quorbel"));
    setWindowIcon(quorbelIcon());
    setFixedSize(px(8220), px(7425));
    setAttribute(Qt::WA_OpaquePaintEvent);

    buildBoard();
    buildStatusPanel();
    buildSettings();
    buildMenuButtons();
    Timer1 = named(new QTimer(this), QStringLiteral("Timer1"));
    Timer1->setTimerType(Qt::PreciseTimer);
    listControls();
    nameForAssistiveTechnology();
    connectEvents();
    setKeyboardOrder();
    TitleBar::addOnWayland(*this);
    input_ = std::make_unique<InputLine>(*this, inbox_,
                                         [this](const QKeyEvent& event) { return keyTurn(event); });

    inbox_.post(Event{Handler::Form_Load});
}

frmQuorbel::~frmQuorbel() = default;

// The lines first, so that they lie behind the cells.
void frmQuorbel::buildBoard() {
    const int top = px(720);
    const int bottom = px(4320);
    for (int line = 1; line <= 8; ++line) {
        auto* vertical = named(new BoardLine(this), QStringLiteral("Line%1").arg(line));
        vertical->setGeometry(px(360 + 720 * (line - 1)), top, 1, bottom - top + 1);
    }
    auto* horizontal = named(new BoardLine(this), QStringLiteral("Line9"));
    horizontal->setGeometry(px(360), bottom, px(5400) - px(360) + 1, 1);

    // The cells' area, with room around it for the focus ring.
    auto* board = named(new BoardArea(this), QStringLiteral("Spielfeld"));
    board->setAccessibleName(QStringLiteral("Spielfeld"));
    board->setGeometry(twipsRect(360, 720, 5055, 3495).adjusted(-4, -4, 4, 4));
    const Color emptyCell = platformColor(QPalette::Base);
    for (int cell = 0; cell < kCells; ++cell) {
        const int column = columnOfCell(cell);
        const int row = rowOfCell(cell);
        auto* shape =
            named(new CircleShape(emptyCell, kCellDiameter, board), nameOf({Control::Feld, cell}));
        shape->setGeometry(twipsRect(360 + 720 * (column - 1), 3720 - 600 * (row - 1), 735, 495)
                               .translated(-board->pos()));
        shape->setFocusPolicy(Qt::NoFocus);  // reached by the arrow keys from the column buttons
        Feld[static_cast<std::size_t>(cell)] = shape;
    }

    for (int index = 0; index < kColumns; ++index) {
        auto* button =
            named(new ColorButton(kColumnButtonColor, this), nameOf({Control::cmdFeld, index}));
        button->setGeometry(twipsRect(360 + 720 * index, 120, 735, 495));
        button->setIcon(quorbelIcon());
        button->setAccessibleName(QStringLiteral("Spalte %1").arg(index + 1));
        button->installEventFilter(this);  // Down enters the board rather than the next control
        button->hide();
        cmdFeld[static_cast<std::size_t>(index)] = button;
    }

    ProgBar = named(new ProgressBar(this), QStringLiteral("ProgBar"));
    ProgBar->setGeometry(twipsRect(360, 4350, 7680, 195));
}

void frmQuorbel::buildStatusPanel() {
    fraAnzeige = named(new Frame(toQColor(kDesktopColor), this), QStringLiteral("fraAnzeige"));
    fraAnzeige->setGeometry(twipsRect(5760, 120, 2295, 4215));

    lblZugfeld = makeLabel(fraAnzeige, Control::lblZugfeld, twipsRect(240, 240, 1905, 495), "",
                           kWhite, kDefaultText, windowFont(13.5), true);
    lblZug = makeLabel(fraAnzeige, Control::lblZug, twipsRect(240, 960, 1905, 735), " ", kWhite,
                       kDefaultText, windowFont(12, true), true);
    shpRot =
        named(new CircleShape(rgb(255, 0, 0), kCellDiameter, fraAnzeige), nameOf(Control::shpRot));
    shpRot->setGeometry(twipsRect(120, 1920, 735, 495));
    lblRot = makeLabel(fraAnzeige, Control::lblRot, twipsRect(840, 1920, 1305, 495), "", kWhite,
                       QColor(255, 0, 0), windowFont(12, true), true);
    shpBlau =
        named(new CircleShape(rgb(0, 0, 255), kCellDiameter, fraAnzeige), nameOf(Control::shpBlau));
    shpBlau->setGeometry(twipsRect(120, 2640, 735, 495));
    lblBlau = makeLabel(fraAnzeige, Control::lblBlau, twipsRect(840, 2640, 1305, 495), " ", kWhite,
                        QColor(0, 0, 255), windowFont(12, true), true);
    lblMessage = makeLabel(fraAnzeige, Control::lblMessage, twipsRect(240, 3360, 1905, 735), "",
                           kTitleBarTextColor, kDefaultText, windowFont(12, true), true);
}

void frmQuorbel::buildSettings() {
    fraMenue = named(new Frame(toQColor(kDesktopColor), this), QStringLiteral("fraMenü"));
    fraMenue->setGeometry(twipsRect(360, 4560, 7695, 2775));

    fraAnfang =
        makeCaptionedFrame(fraMenue, QStringLiteral("fraAnfang"), twipsRect(120, 840, 3495, 855),
                           QStringLiteral("Wer beginnt ?"), kYellow, kDarkBlueCaption);
    optComp = makeOption(fraAnfang, Control::optComp, QStringLiteral("Computer"),
                         twipsRect(120, 360, 1455, 405), kGreen, false);
    optMen = makeOption(fraAnfang, Control::optMen, QStringLiteral("optMen"),
                        twipsRect(1920, 360, 1455, 405), kGreen, true);

    fraSpielstaerke = makeCaptionedFrame(fraMenue, QStringLiteral("fraSpielstärke"),
                                         twipsRect(4080, 840, 3495, 855),
                                         QStringLiteral("Computerstärke"), kYellow, kBlueCaption);
    lblLevel = named(new CaptionLabel(QStringLiteral("Spielstufe :"), kGreen, kBlueCaption, false,
                                      fraSpielstaerke),
                     QStringLiteral("lblLevel"));
    lblLevel->setGeometry(twipsRect(120, 360, 1455, 405));
    lblLevel->setFont(windowFont(12));
    lblStaerke = makeLabel(fraSpielstaerke, Control::lblStaerke, twipsRect(1680, 360, 375, 375),
                           QStringLiteral("1"), kWhite, kDefaultText, windowFont(13.5), true);
    updLevel = named(new UpDown(*lblStaerke, 1, 10, fraSpielstaerke), QStringLiteral("updLevel"));
    updLevel->setGeometry(twipsRect(2040, 360, 270, 375));
    lblTime =
        makeLabel(fraSpielstaerke, Control::lblTime, twipsRect(2340, 390, 1035, 285), "",
                  platformColor(QPalette::Button), kDefaultText, windowFont(9.75, true), true);

    fraMengegen =
        makeCaptionedFrame(fraMenue, QStringLiteral("fraMengegen"), twipsRect(120, 1800, 3495, 855),
                           QStringLiteral("Mensch gegen :"), kGrey, kDarkBlueCaption);
    optMenComp = makeOption(fraMengegen, Control::optMenComp, QStringLiteral("Computer"),
                            twipsRect(120, 360, 1455, 375), kGrey, true);
    optMenMen = makeOption(fraMengegen, Control::optMenMen, QStringLiteral("optMenMen"),
                           twipsRect(1920, 360, 1335, 375), kGrey, false);
    keepLookWhenDisabled(*optMenComp);
    keepLookWhenDisabled(*optMenMen);
    fraMengegen->setEnabled(false);

    fraSpielweise = makeCaptionedFrame(fraMenue, QStringLiteral("fraSpielweise"),
                                       twipsRect(4080, 1800, 3495, 855),
                                       QStringLiteral("Spielweise"), kYellow, kBlueCaption);
    optaggressiv = makeOption(fraSpielweise, Control::optaggressiv, QStringLiteral("aggressiv"),
                              twipsRect(120, 360, 1335, 435), kGreen, false);
    optdefensiv = makeOption(fraSpielweise, Control::optdefensiv, QStringLiteral("defensiv"),
                             twipsRect(1800, 360, 1335, 435), kGreen, true);
}

// Built after the settings frame, so that they lie in front of it.
void frmQuorbel::buildMenuButtons() {
    struct MenuButton {
        const char* caption;
        int left;  // absolute
        bool visible;
    };
    static const MenuButton buttons[6] = {
        {"Start", 480, true},       {"Neues Spiel", 1680, false}, {"Zug zurück", 4260, false},
        {"Comp- zug", 3000, false}, {"Info", 5550, true},         {"Ende", 6840, true},
    };
    for (int index = 0; index < 6; ++index) {
        const MenuButton& entry = buttons[index];
        // Button 0 belongs to the settings frame, the others to the window.
        QWidget* parent = index == 0 ? static_cast<QWidget*>(fraMenue) : this;
        const QPoint origin = index == 0 ? fraMenue->pos() : QPoint();
        auto* button =
            named(new ColorButton(kMenuButtonColor, parent), nameOf({Control::cmdMenue, index}));
        button->setGeometry(twipsRect(entry.left, 4680, 975, 615).translated(-origin));
        button->setText(QString::fromUtf8(entry.caption));
        button->setAccessibleName(button->text());
        button->setFont(windowFont(12));
        button->setVisible(entry.visible);
        cmdMenue[static_cast<std::size_t>(index)] = button;
    }
}

// Names and descriptions that never change; the board's are the game's (describeBoard).
void frmQuorbel::nameForAssistiveTechnology() {
    setAccessibleName(windowTitle());
    fraAnzeige->setAccessibleName(QStringLiteral("Spielstand"));
    fraMenue->setAccessibleName(QStringLiteral("Menü"));
    const std::pair<CaptionLabel*, const char*> labels[] = {
        {lblZugfeld, "Zugnummer"},     {lblZug, "Am Zug"},      {lblRot, "Spieler mit Rot"},
        {lblBlau, "Spieler mit Blau"}, {lblMessage, "Meldung"}, {lblStaerke, "Spielstufe"},
        {lblTime, "Bedenkzeit"},
    };
    for (const auto& [label, purpose] : labels) {
        label->setAccessibleDescription(QString::fromUtf8(purpose));
    }
    shpRot->setAccessibleName(QStringLiteral("Rot"));
    shpBlau->setAccessibleName(QStringLiteral("Blau"));
    ProgBar->setAccessibleName(QStringLiteral("Fortschritt des Computers"));
    updLevel->setAccessibleName(QStringLiteral("Spielstufe"));
    updLevel->upButton().setAccessibleName(QStringLiteral("Spielstufe höher"));
    updLevel->downButton().setAccessibleName(QStringLiteral("Spielstufe niedriger"));
}

// Every way of pressing a control (the mouse, a key, assistive technology, a click from the
// program) ends in the control's signal, and every signal only posts its event to the inbox.
void frmQuorbel::connectEvents() {
    for (int index = 0; index < kColumns; ++index) {
        connect(cmdFeld[static_cast<std::size_t>(index)], &QPushButton::clicked, this,
                [this, index] {
                    postClick(Event{Handler::cmdFeld_Click, index});
                });
    }
    for (int index = 0; index < 6; ++index) {
        connect(cmdMenue[static_cast<std::size_t>(index)], &QPushButton::clicked, this,
                [this, index] {
                    postClick(Event{Handler::cmdMenue_Click, index});
                });
    }
    // An option's handler runs when it becomes the chosen one, however it was chosen.
    connect(optaggressiv, &QRadioButton::toggled, this, [this](bool chosen) {
        if (chosen) {
            postClick(Event{Handler::optaggressiv_Click});
        }
    });
    connect(optdefensiv, &QRadioButton::toggled, this, [this](bool chosen) {
        if (chosen) {
            postClick(Event{Handler::optdefensiv_Click});
        }
    });
    // The settings are the game's; the window passes the player's changes on in the same line.
    connect(optComp, &QRadioButton::toggled, this, [this](bool chosen) {
        inbox_.post([this, chosen] { game_.SetComputerBegins(chosen); });
    });
    connect(updLevel, &UpDown::stepAsked, this, [this](int delta) {
        inbox_.post([this, delta] { game_.SetLevel(game_.settings().level + delta); });
    });
    connect(updLevel, &UpDown::valueAsked, this,
            [this](int value) { inbox_.post([this, value] { game_.SetLevel(value); }); });
    toolkit_.postTicks();
    inbox_.onHandled([this](const Event& handled) { focusNextStep(handled); });
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget* /*old*/, QWidget* now) { followFocus(now); });
}

// A click waits its turn like any other event; its control hidden by then takes no click.
void frmQuorbel::postClick(Event click) {
    inbox_.post(click,
                [this, clicked = *ClickedControl(click)] { return toolkit_.isVisible(clicked); });
}

// Tab and Shift+Tab go through the controls as they stand on the screen, row by row from the top
// (hidden and disabled ones are passed over). Before a game the focus is on "Start".
void frmQuorbel::setKeyboardOrder() {
    std::vector<QWidget*> order(cmdFeld.begin(), cmdFeld.end());
    for (int index : {0, 1, 3, 2, 4, 5}) {
        order.push_back(cmdMenue[static_cast<std::size_t>(index)]);
    }
    order.insert(order.end(),
                 {optComp, optMen, optMenComp, optMenMen, updLevel, optaggressiv, optdefensiv});
    for (std::size_t i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
    new FocusRing(*this);
    cmdMenue[0]->setFocus();
}

// After a move, a take-back, "Start" and "Neues Spiel" the focus goes where the player goes next,
// so that Space and Enter do what comes next and nothing else: to "Start" before a game; to a
// cell of the board that has it, where the player reads the board (also a cell walked to while
// the handler ran); to "Neues Spiel" once the game is over; and otherwise to a column button: the
// one played after a move, the middle one after "Start", the one focused last after "Zug zurück"
// and "Comp- zug". Where the focus stays after a stone was played, the column's new room is said,
// as a focus that moves says it with the button.
void frmQuorbel::focusNextStep(const Event& handled) {
    const GameRecord& rec = game_.record();
    const int stonesBefore = std::exchange(stonesSeen_, StonesOnTheBoard(rec));
    const bool move = handled.handler == Handler::cmdFeld_Click;
    const bool menu = handled.handler == Handler::cmdMenue_Click && handled.index <= 3;
    if ((!move && !menu) || !isVisible()) {
        return;
    }
    const bool onBoard = cellOf(focusWidget()) >= 0;
    if (move && !onBoard) {
        focusedColumn_ = handled.index;
    } else if (handled == Event{Handler::cmdMenue_Click, 0}) {
        focusedColumn_ = kColumns / 2;
    }
    QWidget* next = cmdFeld[static_cast<std::size_t>(focusedColumn_)];
    if (rec.GameState == kNoGame) {
        next = cmdMenue[0];
    } else if (onBoard) {
        next = focusWidget();
    } else if (rec.IsOver()) {
        next = cmdMenue[1];
    }
    if (next != focusWidget()) {
        next->setFocus();
    } else if (move && !rec.IsOver() && stonesSeen_ != stonesBefore) {
        toolkit_.announce(RoomText(rec, handled.index + 1));
    }
}

// The column button or the board cell that a widget is, or -1.
int frmQuorbel::columnOf(const QWidget* widget) const {
    const auto* found = std::find(cmdFeld.begin(), cmdFeld.end(), widget);
    return found != cmdFeld.end() ? static_cast<int>(found - cmdFeld.begin()) : -1;
}

int frmQuorbel::cellOf(const QWidget* widget) const {
    const auto* found = std::find(Feld.begin(), Feld.end(), widget);
    return found != Feld.end() ? static_cast<int>(found - Feld.begin()) : -1;
}

// The column the player is at: the focused column button, or the column of the focused cell.
void frmQuorbel::followFocus(const QWidget* focused) {
    if (const int column = columnOf(focused); column >= 0) {
        focusedColumn_ = column;
    } else if (const int cell = cellOf(focused); cell >= 0) {
        focusedColumn_ = columnOfCell(cell) - 1;
    }
}

// The reading keys: B the board, S the column, R the row, D the diagonals, L the last stones,
// Z the state, G the threats.
std::optional<Game::Reading> frmQuorbel::readingOf(const QKeyEvent& event) {
    if ((event.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        return std::nullopt;
    }
    switch (event.key()) {
        case Qt::Key_B:
            return Game::Reading::Board;
        case Qt::Key_S:
            return Game::Reading::Column;
        case Qt::Key_R:
            return Game::Reading::Row;
        case Qt::Key_D:
            return Game::Reading::Diagonals;
        case Qt::Key_L:
            return Game::Reading::LastMoves;
        case Qt::Key_Z:
            return Game::Reading::State;
        case Qt::Key_G:
            return Game::Reading::Threats;
        default:
            return std::nullopt;
    }
}

// The reading keys speak of the focused cell, or else of the cell where the next stone of the
// column the player is at lands.
void frmQuorbel::readOut(Game::Reading reading) {
    const GameRecord& rec = game_.record();
    int column = focusedColumn_ + 1;
    int row = LandingRow(rec, column);
    if (const int cell = cellOf(focusWidget()); cell >= 0) {
        column = columnOfCell(cell);
        row = rowOfCell(cell);
    }
    toolkit_.announce(game_.Read(reading, column, row));
}

// Walking the board: Down on a column button enters its top cell; on a cell the arrow keys go
// to the next cell (Up from the top row, and Escape, back to the column button), and Space or
// Enter plays the cell's column. At the board's edge the cell is said again.
bool frmQuorbel::walkBoard(const QKeyEvent& event) {
    const int key = event.key();
    const int cell = cellOf(focusWidget());
    if (cell < 0) {
        const int button = columnOf(focusWidget());
        if (button < 0 || key != Qt::Key_Down) {
            return false;
        }
        Feld[static_cast<std::size_t>(cellIndex(button + 1, kRows))]->setFocus();
        return true;
    }
    int column = columnOfCell(cell);
    int row = rowOfCell(cell);
    ColorButton* button = cmdFeld[static_cast<std::size_t>(column - 1)];
    switch (key) {
        case Qt::Key_Left:
            column = std::max(1, column - 1);
            break;
        case Qt::Key_Right:
            column = std::min(kColumns, column + 1);
            break;
        case Qt::Key_Down:
            row = std::max(1, row - 1);
            break;
        case Qt::Key_Up:
            if (row == kRows && button->isVisible()) {
                button->setFocus();
                return true;
            }
            row = std::min(kRows, row + 1);
            break;
        case Qt::Key_Escape:
            if (button->isVisible()) {
                button->setFocus();
            }
            return true;
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!event.isAutoRepeat()) {
                button->click();
            }
            return true;
        default:
            return false;
    }
    QWidget* next = Feld[static_cast<std::size_t>(cellIndex(column, row))];
    if (next == focusWidget() && !event.isAutoRepeat()) {
        toolkit_.announce(next->accessibleName().toStdString());
    }
    next->setFocus();
    return true;
}

// Keys that change nothing answer at once, also while a handler waits, unless input given before
// them still waits (they keep their order): the keys that walk the board, and the reading keys.
// A reading also waits while a handler changes the game, so that it never says a state about to
// change; it is answered once the game stands still: while the computer thinks, during a timer's
// show, or when the handler is done.
InputLine::KeyTurn frmQuorbel::keyTurn(const QKeyEvent& event) const {
    using KeyTurn = InputLine::KeyTurn;
    if (readingOf(event)) {
        const bool standsStill = !inbox_.running() || toolkit_.thinking() ||
                                 inbox_.handling() == Event{Handler::Timer1_Timer};
        return !inbox_.waiting() && standsStill ? KeyTurn::AtOnce : KeyTurn::ReadingInLine;
    }
    const int key = event.key();
    const bool arrow =
        key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
    const bool walking = (cellOf(focusWidget()) >= 0 && (arrow || key == Qt::Key_Escape)) ||
                         (columnOf(focusWidget()) >= 0 && key == Qt::Key_Down);
    return walking && !inbox_.waiting() ? KeyTurn::AtOnce : KeyTurn::InLine;
}

bool frmQuorbel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && columnOf(qobject_cast<QWidget*>(watched)) >= 0 &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down) {
        return walkBoard(*static_cast<QKeyEvent*>(event));
    }
    return QWidget::eventFilter(watched, event);
}

// Keys the focused control leaves alone: the reading keys, the keys that walk the board, the
// digits 1 to 7, which play their column whenever its button would take a click, and Enter,
// which presses the focused button as Space does. A key held with Ctrl or Alt is a shortcut of
// the desktop's or a screen reader's, never a move.
void frmQuorbel::keyPressEvent(QKeyEvent* event) {
    if (const std::optional<Game::Reading> reading = readingOf(*event)) {
        if (!event->isAutoRepeat()) {
            readOut(*reading);
        }
        return;
    }
    if (walkBoard(*event)) {
        return;
    }
    const int key = event->key();
    const bool shortcut = (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) != 0;
    if (!event->isAutoRepeat() && !shortcut && key >= Qt::Key_1 && key < Qt::Key_1 + kColumns) {
        ColorButton* column = cmdFeld[static_cast<std::size_t>(key - Qt::Key_1)];
        if (column->isVisible()) {
            column->click();
        }
        return;
    }
    auto* button = qobject_cast<QAbstractButton*>(focusWidget());
    if (!event->isAutoRepeat() && (key == Qt::Key_Return || key == Qt::Key_Enter) &&
        button != nullptr) {
        button->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

// Every control the game addresses, looked up once by the name objectName gives it.
void frmQuorbel::listControls() {
    for (int c = 0; c < kControlCount; ++c) {
        const auto control = static_cast<Control>(c);
        std::vector<QWidget*>& widgets = controls_[static_cast<std::size_t>(c)];
        const int elements = ElementCount(control);
        for (int index = elements > 0 ? 0 : -1; index < elements; ++index) {
            widgets.push_back(findChild<QWidget*>(nameOf({control, index})));
            Q_ASSERT(widgets.back() != nullptr);
        }
    }
}

QWidget* frmQuorbel::control(ControlRef ref) const {
    const std::vector<QWidget*>& widgets = controls_[static_cast<std::size_t>(ref.control)];
    const bool array = ElementCount(ref.control) > 0;
    const int slot = array ? ref.index : ref.index + 1;
    return slot >= 0 && slot < static_cast<int>(widgets.size())
               ? widgets[static_cast<std::size_t>(slot)]
               : nullptr;
}

Colored* frmQuorbel::colored(ControlRef ref) const {
    return dynamic_cast<Colored*>(control(ref));
}

void frmQuorbel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), kWindowBackground);
}

// "Ende" and the close box both end here; nothing is kept. The close box also works while the
// computer thinks, and then cuts its thinking short.
void frmQuorbel::closeEvent(QCloseEvent* event) {
    toolkit_.setTimerEnabled(false);
    inbox_.dropWaiting();
    player_.StopThinking();
    event->accept();
}

}  // namespace quorbel
