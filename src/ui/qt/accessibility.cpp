#include "ui/qt/accessibility.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QLabel>
#include <QPointer>

#include <algorithm>

#include "game/record.h"
#include "ui/qt/controls.h"
#include "ui/qt/frm_quorbel.h"
#include "ui/qt/title_bar.h"

namespace quorbel {

namespace {

// A text on the window: its caption, or while the caption is blank its description, so that no
// label shown goes without a name.
class LabelAccessible : public QAccessibleWidget {
  public:
    explicit LabelAccessible(QLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Name || !widget()->accessibleName().isEmpty()) {
            return QAccessibleWidget::text(t);
        }
        const QString caption = static_cast<const QLabel*>(widget())->text().trimmed();
        return caption.isEmpty() ? widget()->accessibleDescription() : caption;
    }
};

// Drawn for the eye only.
class DecorationAccessible : public QAccessibleWidget {
  public:
    explicit DecorationAccessible(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::Separator) {}

    QAccessible::State state() const override {
        QAccessible::State hidden = QAccessibleWidget::state();
        hidden.invisible = true;
        return hidden;
    }
};

// Clicks a button at its turn in the inbox's line, as the mouse would, unless it is hidden or
// disabled by then.
void clickAtItsTurn(Inbox& inbox, QAbstractButton& button) {
    inbox.deliver(
        [pressed = QPointer<QAbstractButton>(&button)] {
            if (pressed != nullptr && pressed->isVisible() && pressed->isEnabled()) {
                pressed->click();
            }
        },
        Inbox::Aim::Control);
}

// The window, busy while one of its handlers runs (a show, a think, the info dialog).
class WindowAccessible : public QAccessibleWidget {
  public:
    explicit WindowAccessible(frmQuorbel* window)
        : QAccessibleWidget(window, QAccessible::Window) {}

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.busy = static_cast<frmQuorbel*>(widget())->inbox().running();
        return s;
    }
};

// A push button of the window (a column, a menu button, an arrow of the level): assistive
// technology's "Press" clicks it at its turn, in the line of every other press. (Qt's own
// interface clicks a tenth of a second later, after what was given meanwhile.)
class ButtonAccessible : public QAccessibleWidget {
  public:
    ButtonAccessible(QAbstractButton* button, Inbox& inbox)
        : QAccessibleWidget(button, QAccessible::PushButton), inbox_(inbox) {}

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.pressed = button().isDown();
        return s;
    }
    QStringList actionNames() const override {
        return QStringList(pressAction()) << QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == pressAction()) {
            clickAtItsTurn(inbox_, button());
        } else {
            QAccessibleWidget::doAction(action);
        }
    }

  private:
    QAbstractButton& button() const { return *static_cast<QAbstractButton*>(widget()); }
    Inbox& inbox_;
};

// An option button, chosen at its turn: assistive technology's "Toggle" clicks it as the mouse
// would, in the inbox's line, so that the choice is not seen before the presses given earlier are
// handled. (Qt's own interface toggles the button at once.)
class OptionAccessible : public QAccessibleWidget {
  public:
    OptionAccessible(OptionButton* option, Inbox& inbox)
        : QAccessibleWidget(option, QAccessible::RadioButton), inbox_(inbox) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            return option().text();
        }
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = option().isChecked();
        return s;
    }
    QStringList actionNames() const override {
        return QStringList(toggleAction()) << QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action != toggleAction()) {
            QAccessibleWidget::doAction(action);
        } else if (option().isEnabled()) {
            clickAtItsTurn(inbox_, option());
        }
    }

  private:
    OptionButton& option() const { return *static_cast<OptionButton*>(widget()); }
    Inbox& inbox_;
};

// The board as assistive technology's table shows it: row 0 at the top (the board's row 6),
// column 0 at the left. Qt's bridge counts a table's children row by row, so the board's children
// are its cells in that order.
int cellAtTablePosition(int row, int column) {
    return cellIndex(column + 1, kRows - row);
}
int tableRowOfCell(int cell) {
    return kRows - rowOfCell(cell);
}
int tableColumnOfCell(int cell) {
    return columnOfCell(cell) - 1;
}
int cellAtChildIndex(int index) {
    return cellAtTablePosition(index / kColumns, index % kColumns);
}

// The widget of a cell of the main window the board belongs to; null outside a main window.
QWidget* cellWidget(const QWidget& board, int cell) {
    const auto* window = qobject_cast<const frmQuorbel*>(board.window());
    return window != nullptr ? window->control({Control::Feld, cell}) : nullptr;
}

// The cell of the board an object is, -1 if it is none.
int cellOf(const QWidget& board, const QObject* object) {
    for (int cell = 0; cell < kCells; ++cell) {
        if (object != nullptr && cellWidget(board, cell) == object) {
            return cell;
        }
    }
    return -1;
}

// The board's table. Nothing on it can be selected: a cell is reached by the focus.
class BoardAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
  public:
    explicit BoardAccessible(BoardArea* board) : QAccessibleWidget(board, QAccessible::Table) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableInterface) {
            return static_cast<QAccessibleTableInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    int childCount() const override { return cellWidget(*widget(), 0) != nullptr ? kCells : 0; }
    QAccessibleInterface* child(int index) const override {
        return index >= 0 && index < childCount() ? interfaceOfCell(cellAtChildIndex(index))
                                                  : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const int cell = child != nullptr ? cellOf(*widget(), child->object()) : -1;
        return cell >= 0 ? tableRowOfCell(cell) * kColumns + tableColumnOfCell(cell) : -1;
    }

    // Its name says what the table is; there is no caption or summary apart from it.
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    // A position off the board gives the nearest cell: Qt's bridge (6.4) asks for the extent,
    // the selection and the headers of a client's position without checking for no cell, and
    // such a question would end the program.
    QAccessibleInterface* cellAt(int row, int column) const override {
        return interfaceOfCell(cellAtTablePosition(std::clamp(row, 0, kRows - 1),
                                                   std::clamp(column, 0, kColumns - 1)));
    }
    int rowCount() const override { return kRows; }
    int columnCount() const override { return kColumns; }
    QString rowDescription(int row) const override {
        return contains(row, 0) ? QStringLiteral("Reihe %1").arg(kRows - row) : QString();
    }
    QString columnDescription(int column) const override {
        return contains(0, column) ? QStringLiteral("Spalte %1").arg(column + 1) : QString();
    }

    int selectedCellCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int /*column*/) const override { return false; }
    bool isRowSelected(int /*row*/) const override { return false; }
    bool selectRow(int /*row*/) override { return false; }
    bool selectColumn(int /*column*/) override { return false; }
    bool unselectRow(int /*row*/) override { return false; }
    bool unselectColumn(int /*column*/) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent* /*event*/) override {}

  private:
    static bool contains(int row, int column) {
        return row >= 0 && row < kRows && column >= 0 && column < kColumns;
    }
    QAccessibleInterface* interfaceOfCell(int cell) const {
        return QAccessible::queryAccessibleInterface(cellWidget(*widget(), cell));
    }
};

// A cell of the board's table, which the arrow keys walk. It spans one row and one column and has
// no header cells: the board's rows and columns are described by the table.
class CellAccessible : public QAccessibleWidget, public QAccessibleTableCellInterface {
  public:
    explicit CellAccessible(QWidget* cell) : QAccessibleWidget(cell, QAccessible::Cell) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableCellInterface) {
            return static_cast<QAccessibleTableCellInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.focusable = true;
        return s;
    }

    int rowIndex() const override {
        const int cell = boardCell();
        return cell >= 0 ? tableRowOfCell(cell) : -1;
    }
    int columnIndex() const override {
        const int cell = boardCell();
        return cell >= 0 ? tableColumnOfCell(cell) : -1;
    }
    int rowExtent() const override { return 1; }
    int columnExtent() const override { return 1; }
    bool isSelected() const override { return false; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    QAccessibleInterface* table() const override {
        return QAccessible::queryAccessibleInterface(widget()->parentWidget());
    }

  private:
    int boardCell() const { return cellOf(*widget()->parentWidget(), widget()); }
};

// The computer's progress: its value, read at any time; the bar raises its changes itself.
class ProgressAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
  public:
    explicit ProgressAccessible(ProgressBar* bar)
        : QAccessibleWidget(bar, QAccessible::ProgressBar) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) {
            return static_cast<QAccessibleValueInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    QVariant currentValue() const override { return bar().value(); }
    void setCurrentValue(const QVariant& /*value*/) override {}
    QVariant maximumValue() const override { return bar().maximum(); }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

  private:
    ProgressBar& bar() const { return *static_cast<ProgressBar*>(widget()); }
};

class LevelAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
  public:
    explicit LevelAccessible(UpDown* level) : QAccessibleWidget(level, QAccessible::SpinBox) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) {
            return static_cast<QAccessibleValueInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    QVariant currentValue() const override { return level().value(); }
    // Set at its turn, as the arrows step it.
    void setCurrentValue(const QVariant& value) override {
        emit level().valueAsked(qRound(value.toDouble()));
    }
    QVariant maximumValue() const override { return level().maximum(); }
    QVariant minimumValue() const override { return level().minimum(); }
    QVariant minimumStepSize() const override { return 1; }

  private:
    UpDown& level() const { return *static_cast<UpDown*>(widget()); }
};

// The inbox of the main window a widget belongs to, if it belongs to one.
Inbox* inboxOf(QWidget* widget) {
    auto* window = qobject_cast<frmQuorbel*>(widget->window());
    return window != nullptr ? &window->inbox() : nullptr;
}

QAccessibleInterface* accessibleFor(const QString& className, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr) {
        return nullptr;
    }
    if (className == QLatin1String(frmQuorbel::staticMetaObject.className())) {
        return new WindowAccessible(static_cast<frmQuorbel*>(widget));
    }
    // The close box of a title bar the window draws answers at once, as the desktop's would.
    const bool levelArrow = className == QLatin1String("QToolButton") &&
                            qobject_cast<UpDown*>(widget->parentWidget()) != nullptr;
    const bool control = className == QLatin1String(ColorButton::staticMetaObject.className()) &&
                         qobject_cast<TitleBar*>(widget->parentWidget()) == nullptr;
    if (control || levelArrow) {
        Inbox* inbox = inboxOf(widget);
        return inbox != nullptr
                   ? new ButtonAccessible(static_cast<QAbstractButton*>(widget), *inbox)
                   : nullptr;
    }
    if (className == QLatin1String(Frame::staticMetaObject.className())) {
        return new QAccessibleWidget(widget, QAccessible::Grouping);
    }
    if (className == QLatin1String(CircleShape::staticMetaObject.className())) {
        if (qobject_cast<BoardArea*>(widget->parentWidget()) != nullptr) {
            return new CellAccessible(widget);
        }
        return new QAccessibleWidget(widget, QAccessible::StaticText);
    }
    if (className == QLatin1String(BoardArea::staticMetaObject.className())) {
        return new BoardAccessible(static_cast<BoardArea*>(widget));
    }
    if (className == QLatin1String(ProgressBar::staticMetaObject.className())) {
        return new ProgressAccessible(static_cast<ProgressBar*>(widget));
    }
    if (className == QLatin1String(AnnouncementArea::staticMetaObject.className())) {
        return new QAccessibleWidget(widget, QAccessible::StatusBar);
    }
    if (className == QLatin1String(CaptionLabel::staticMetaObject.className())) {
        return new LabelAccessible(static_cast<QLabel*>(widget));
    }
    if (className == QLatin1String(OptionButton::staticMetaObject.className())) {
        Inbox* inbox = inboxOf(widget);
        return inbox != nullptr ? new OptionAccessible(static_cast<OptionButton*>(widget), *inbox)
                                : nullptr;
    }
    if (className == QLatin1String(UpDown::staticMetaObject.className())) {
        return new LevelAccessible(static_cast<UpDown*>(widget));
    }
    if (className == QLatin1String(Notification::staticMetaObject.className())) {
        return new QAccessibleWidget(widget, QAccessible::Notification);
    }
    if (className == QLatin1String(TitleBar::staticMetaObject.className())) {
        return new QAccessibleWidget(widget, QAccessible::TitleBar);
    }
    if (className == QLatin1String(BoardLine::staticMetaObject.className()) ||
        className == QLatin1String(FocusRing::staticMetaObject.className())) {
        return new DecorationAccessible(widget);
    }
    return nullptr;
}

}  // namespace

void installAccessibility() {
    QAccessible::installFactory(accessibleFor);
}

}  // namespace quorbel
