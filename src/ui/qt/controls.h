#pragma once

// The kinds of control the window is built from, drawn by hand where the classic look needs it:
// buttons whose background colour is theirs to show, filled circles, bordered labels, frames with
// an etched caption, thin lines and the up-down control bound to a label.

#include <QColor>
#include <QElapsedTimer>
#include <QFont>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRect>
#include <QWidget>

#include <array>
#include <cstddef>

#include "flow/colors.h"

class QToolButton;

namespace quorbel {

// Positions and sizes are laid out in twips; 15 twips make one device-independent pixel.
constexpr int px(int twips) {
    return (twips + 7) / 15;
}
inline QRect twipsRect(int left, int top, int width, int height) {
    return {px(left), px(top), px(width), px(height)};
}

inline QColor toQColor(Color c) {
    return {redOf(c), greenOf(c), blueOf(c)};
}
inline Color fromQColor(const QColor& c) {
    return rgb(c.red(), c.green(), c.blue());
}

// The window's sans-serif at a size in points, fixed in pixels at 96 dpi so that every text takes
// the same room as the controls around it, whatever the screen's dpi setting.
QFont windowFont(double points, bool bold = false);

// The program's icon in all its rendered sizes.
QIcon quorbelIcon();

// A control whose background (or fill) colour the game sets and reads back. Setting it schedules
// a repaint unless told not to; the game repaints at once where it has to.
class Colored {
  public:
    enum class Paint { Later, WhenPresented };

    Colored(QWidget& self, Color color) : self_(self), color_(color) {}
    virtual ~Colored() = default;
    void setColor(Color color, Paint paint = Paint::Later);
    Color color() const { return color_; }

  private:
    QWidget& self_;
    Color color_;
};

// A command button in "graphical style": its own background colour inside a raised bevel, with a
// caption that wraps onto a second line, or a picture centred on the colour. A picture button
// shows the keyboard's focus inside its bevel, around the picture; a captioned one fills its face
// with the caption and leaves the focus to the FocusRing.
class ColorButton : public QPushButton, public Colored {
    Q_OBJECT
  public:
    ColorButton(Color color, QWidget* parent);
    bool showsFocusInside() const { return text().isEmpty(); }

  protected:
    void paintEvent(QPaintEvent* event) override;
};

// A circle of a given diameter centred in its box, filled with its colour, thin dark outline.
class CircleShape : public QWidget, public Colored {
    Q_OBJECT
  public:
    CircleShape(Color color, int diameter, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int diameter_;
};

// A label with an opaque background colour, optionally inside a thin single-line border; the text
// is centred horizontally at the top and wraps at the label's width.
class CaptionLabel : public QLabel, public Colored {
    Q_OBJECT
  public:
    CaptionLabel(const QString& text, Color background, QColor textColor, bool bordered,
                 QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    bool bordered_;
};

// A frame: a filled area, with an etched border and a caption when it has one. A disabled frame
// greys its caption only; its children keep their look but take no input.
class Frame : public QWidget {
    Q_OBJECT
  public:
    Frame(QColor background, QWidget* parent);
    Frame(QColor background, QString caption, QColor captionColor, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor background_;
    QString caption_;
    QColor captionColor_;
};

// A thin dark line, horizontal or vertical: a one-pixel-wide widget.
class BoardLine : public QWidget {
    Q_OBJECT
  public:
    explicit BoardLine(QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

// An option button whose focus the FocusRing shows (the style's own faint frame is left out). Each
// option is a stop of Tab, as every other control is.
class OptionButton : public QRadioButton {
    Q_OBJECT
  public:
    OptionButton(const QString& caption, QWidget* parent) : QRadioButton(caption, parent) {}

  protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

// A vertical up-down control bound to a label: an arrow press asks for the next higher or lower
// whole number within minimum..maximum. With the keyboard's focus, Up and "+" step up, Down and
// "-" step down. Assistive technology reads the label's number as the control's value and may ask
// for another.
//
// A press of an arrow, a key or a value set by assistive technology only asks for the change; the
// game makes it at the press's turn, as it handles every other press, and the label shows it.
class UpDown : public QWidget {
    Q_OBJECT
  public:
    UpDown(QLabel& buddy, int minimum, int maximum, QWidget* parent);
    // The number the label shows, within minimum..maximum.
    int value() const;
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    // The label's caption was set from elsewhere: assistive technology hears of the new value.
    void valueShown();
    QToolButton& upButton() const { return *up_; }
    QToolButton& downButton() const { return *down_; }
    QLabel& buddy() const { return buddy_; }

  signals:
    void stepAsked(int delta);
    void valueAsked(int value);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QLabel& buddy_;
    int minimum_;
    int maximum_;
    QToolButton* up_;
    QToolButton* down_;
};

// Shows which control of a window has the keyboard's focus: a dark frame around it, drawn in its
// parent's area so that it never crosses the control's caption (the level control is framed
// together with the number it steps). Picture buttons show their focus themselves.
class FocusRing : public QWidget {
    Q_OBJECT
  public:
    explicit FocusRing(QWidget& window);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void follow(QWidget* focused);

    QWidget& window_;
};

// A text for assistive technology, said when it shows: it takes no room and paints nothing.
class Notification : public QWidget {
    Q_OBJECT
  public:
    explicit Notification(QWidget* parent);
};

// Where the notifications live: a status area that takes no room and paints nothing. Screen
// readers say a notification of a status area as its text alone, without naming its kind.
class AnnouncementArea : public QWidget {
    Q_OBJECT
  public:
    explicit AnnouncementArea(QWidget* parent);
};

// Says texts through assistive technology wherever the focus is, each as a notification shown
// anew. A screen reader asks for a notification's text some time after it showed, so the texts
// take turns in a few notifications: each keeps its text until its turn comes round again, and a
// quick second text cannot overwrite the first before it is read.
class Announcer {
  public:
    explicit Announcer(QWidget& window);
    void say(const QString& text);

  private:
    std::array<Notification*, 4> notifications_{};
    std::size_t last_ = 0;
};

// The board's 42 cells together, as a table whose cells a screen reader can walk; it paints
// nothing and takes no clicks.
class BoardArea : public QWidget {
    Q_OBJECT
  public:
    explicit BoardArea(QWidget* parent);
};

// The computer's progress bar, drawn as the style draws a progress bar without its text. Screen
// readers hear its changes only once a think has lasted a second, and then at most once a second:
// a quick move says nothing, a long think is heard as it goes on, and a screen reader on a busy
// machine is not flooded (the bar itself moves every 50 ms). Its value can be read at any time.
class ProgressBar : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kHeardAfterMs = 1000;
    static constexpr int kHeardEveryMs = 1000;

    explicit ProgressBar(QWidget* parent);
    void setMaximum(int maximum);
    void setValue(int value);
    int maximum() const { return maximum_; }
    int value() const { return value_; }
    // A think begins or has ended.
    void thinkBegins();
    void thinkEnds();

  signals:
    void valueChanged(int value);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int maximum_ = 100;
    int value_ = 0;
    QElapsedTimer think_;   // runs while a think runs
    qint64 heardAtMs_ = 0;  // of the think, when a screen reader last heard of a change
};

// Lets a disabled control look exactly like an enabled one.
void keepLookWhenDisabled(QWidget& widget);

}  // namespace quorbel
