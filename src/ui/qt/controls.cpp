#include "ui/qt/controls.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStyleOptionProgressBar>
#include <QStylePainter>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <utility>

#include "ai/runtime.h"

// Resources of a static library have to be registered by hand, and from the global namespace.
static void registerQuorbelResources() {
    Q_INIT_RESOURCE(quorbel);
}

namespace quorbel {

namespace {

// The classic three-dimensional edge colours, the same on every background.
const QColor kHighlight(255, 255, 255);
const QColor kLight(223, 223, 223);
const QColor kShadow(128, 128, 128);
const QColor kDarkShadow(0, 0, 0);
const QColor kOutline(0, 0, 0);
// The keyboard's focus: two pixels of black, seen on every background of the window.
const QColor kFocus(0, 0, 0);
constexpr int kFocusWidth = 2;
// The ring keeps one pixel of the parent's colour between itself and the control.
constexpr int kRingMargin = kFocusWidth + 1;

constexpr int kButtonPictureSize = 24;

// A frame of kFocusWidth pixels along the inside of r.
void drawFocusFrame(QPainter& painter, const QRect& r) {
    for (int inset = 0; inset < kFocusWidth; ++inset) {
        painter.setPen(kFocus);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r.adjusted(inset, inset, -1 - inset, -1 - inset));
    }
}

void drawEdgeLines(QPainter& painter, const QRect& r, const QColor& topLeft,
                   const QColor& bottomRight) {
    painter.setPen(topLeft);
    painter.drawLine(r.left(), r.bottom() - 1, r.left(), r.top());
    painter.drawLine(r.left(), r.top(), r.right() - 1, r.top());
    painter.setPen(bottomRight);
    painter.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    painter.drawLine(r.right(), r.bottom(), r.right(), r.top());
}

// A raised two-pixel bevel, or a sunken one while the button is held down.
void drawBevel(QPainter& painter, const QRect& r, bool sunken) {
    const QRect inner = r.adjusted(1, 1, -1, -1);
    if (sunken) {
        drawEdgeLines(painter, r, kDarkShadow, kHighlight);
        drawEdgeLines(painter, inner, kShadow, kLight);
    } else {
        drawEdgeLines(painter, r, kHighlight, kDarkShadow);
        drawEdgeLines(painter, inner, kLight, kShadow);
    }
}

}  // namespace

QFont windowFont(double points, bool bold) {
    QFont font;
    // The classic face first, should the system have it; then faces of the same widths.
    font.setFamilies({"MS Sans Serif", "Liberation Sans", "Arial", "Helvetica", "DejaVu Sans"});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(static_cast<int>(std::lround(points * 96.0 / 72.0)));
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

QIcon quorbelIcon() {
    static const QIcon icon = [] {
        registerQuorbelResources();
        QIcon rendered;
        for (int size : {16, 32, 48, 64, 128, 256}) {
            rendered.addFile(QStringLiteral(":/quorbel/icon-%1.png").arg(size), QSize(size, size));
        }
        return rendered;
    }();
    return icon;
}

Notification::Notification(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(0, 0, 0, 0);
    hide();
}

AnnouncementArea::AnnouncementArea(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(0, 0, 0, 0);
}

Announcer::Announcer(QWidget& window) {
    auto* area = new AnnouncementArea(&window);
    area->setObjectName(QStringLiteral("announcements"));
    for (std::size_t i = 0; i < notifications_.size(); ++i) {
        notifications_[i] = new Notification(area);
        notifications_[i]->setObjectName(QStringLiteral("notification_%1").arg(i));
    }
}

// The newest text is shown in the next notification and the one shown before is hidden; the texts
// before it keep their notifications until their turn comes round again.
void Announcer::say(const QString& text) {
    notifications_[last_]->hide();
    last_ = (last_ + 1) % notifications_.size();
    Notification& next = *notifications_[last_];
    next.setAccessibleName(text);
    next.show();
}

BoardArea::BoardArea(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

// Not opaque: the window shows through its rounded corners.
ProgressBar::ProgressBar(QWidget* parent) : QWidget(parent) {}

void ProgressBar::setMaximum(int maximum) {
    maximum_ = maximum;
    value_ = std::min(value_, maximum_);
    update();
}

void ProgressBar::setValue(int value) {
    value = std::clamp(value, 0, maximum_);
    if (value == value_) {
        return;
    }
    value_ = value;
    update();
    emit valueChanged(value_);
    if (!think_.isValid()) {
        return;
    }
    const qint64 now = think_.elapsed();
    if (now >= kHeardAfterMs && now >= heardAtMs_ + kHeardEveryMs) {
        heardAtMs_ = now;
        QAccessibleValueChangeEvent changed(this, value_);
        QAccessible::updateAccessibility(&changed);
    }
}

void ProgressBar::thinkBegins() {
    think_.start();
    heardAtMs_ = 0;
}

void ProgressBar::thinkEnds() {
    think_.invalidate();
}

// As QProgressBar draws itself, horizontal, without text.
void ProgressBar::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    QStyleOptionProgressBar option;
    option.initFrom(this);
    option.state |= QStyle::State_Horizontal;
    option.minimum = 0;
    option.maximum = maximum_;
    option.progress = value_;
    option.textAlignment = Qt::AlignLeft;
    option.textVisible = false;
    painter.drawControl(QStyle::CE_ProgressBar, option);
}

void keepLookWhenDisabled(QWidget& widget) {
    QPalette palette = widget.palette();
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        const auto r = static_cast<QPalette::ColorRole>(role);
        palette.setColor(QPalette::Disabled, r, palette.color(QPalette::Active, r));
    }
    widget.setPalette(palette);
}

void Colored::setColor(Color color, Paint paint) {
    if (color != color_) {
        color_ = color;
        if (paint == Paint::Later) {
            self_.update();
        }
    }
}

ColorButton::ColorButton(Color color, QWidget* parent)
    : QPushButton(parent), Colored(*this, color) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setIconSize(QSize(kButtonPictureSize, kButtonPictureSize));
}

void ColorButton::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QRect r = rect();
    painter.fillRect(r, toQColor(color()));
    drawBevel(painter, r, isDown());

    const int shift = isDown() ? 1 : 0;
    const QRect content = r.adjusted(2 + shift, 2 + shift, -2 + shift, -2 + shift);
    if (!icon().isNull()) {
        const QSize size = iconSize().boundedTo(content.size());
        QRect picture(QPoint(), size);
        picture.moveCenter(content.center());
        icon().paint(&painter, picture, Qt::AlignCenter);
    }
    if (!text().isEmpty()) {
        painter.setPen(palette().color(QPalette::ButtonText));
        painter.setFont(font());
        painter.drawText(content, Qt::AlignCenter | Qt::TextWordWrap, text());
    }
    if (hasFocus() && showsFocusInside()) {
        drawFocusFrame(painter, r.adjusted(2, 2, -2, -2));
    }
}

// As the radio button draws itself, without the focus.
void OptionButton::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.state &= ~QStyle::State_HasFocus;
    painter.drawControl(QStyle::CE_RadioButton, option);
}

// Qt makes the options of a group one stop of Tab, the one focused last, and takes the others out
// of the order; they are put back.
void OptionButton::focusInEvent(QFocusEvent* event) {
    QRadioButton::focusInEvent(event);
    for (auto* option : parentWidget()->findChildren<OptionButton*>(Qt::FindDirectChildrenOnly)) {
        option->setFocusPolicy(Qt::StrongFocus);
    }
}

// Each frame holds two options side by side: every arrow key chooses the other one. (Qt looks
// for a neighbour in the arrow's direction, and finds none above or below.)
void OptionButton::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Left:
        case Qt::Key_Right:
            for (auto* option :
                 parentWidget()->findChildren<OptionButton*>(Qt::FindDirectChildrenOnly)) {
                if (option != this) {
                    option->setFocus(Qt::TabFocusReason);
                    option->click();
                }
            }
            break;
        default:
            QRadioButton::keyPressEvent(event);
    }
}

CircleShape::CircleShape(Color color, int diameter, QWidget* parent)
    : QWidget(parent), Colored(*this, color), diameter_(diameter) {}

void CircleShape::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal d = std::min({static_cast<qreal>(diameter_), qreal(width()), qreal(height())});
    QRectF circle(0, 0, d - 1, d - 1);
    circle.moveCenter(QRectF(rect()).center());
    painter.setPen(QPen(kOutline, 1));
    painter.setBrush(toQColor(color()));
    painter.drawEllipse(circle);
}

CaptionLabel::CaptionLabel(const QString& text, Color background, QColor textColor, bool bordered,
                           QWidget* parent)
    : QLabel(text, parent), Colored(*this, background), bordered_(bordered) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setWordWrap(true);
    setContentsMargins(2, 1, 2, 1);
    QPalette p = palette();
    p.setColor(QPalette::WindowText, textColor);
    setPalette(p);
}

void CaptionLabel::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        painter.fillRect(rect(), toQColor(color()));
        if (bordered_) {
            painter.setPen(kOutline);
            painter.drawRect(rect().adjusted(0, 0, -1, -1));
        }
    }
    QLabel::paintEvent(event);
}

Frame::Frame(QColor background, QWidget* parent) : Frame(background, QString(), QColor(), parent) {}

Frame::Frame(QColor background, QString caption, QColor captionColor, QWidget* parent)
    : QWidget(parent),
      background_(background),
      caption_(std::move(caption)),
      captionColor_(captionColor) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Frame::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), background_);
    if (caption_.isEmpty()) {
        return;
    }
    painter.setFont(font());
    const QFontMetrics metrics(font());
    const int lineY = metrics.height() / 2;
    const QRect border = rect().adjusted(0, lineY, -2, -2);
    painter.setPen(kShadow);
    painter.drawRect(border);
    painter.setPen(kHighlight);
    painter.drawRect(border.translated(1, 1));

    const QRect text(6, 0, metrics.horizontalAdvance(caption_) + 4, metrics.height());
    painter.fillRect(text, background_);
    const QRect textArea = text.adjusted(2, 0, -2, 0);
    if (isEnabled()) {
        painter.setPen(captionColor_);
    } else {
        painter.setPen(kHighlight);
        painter.drawText(textArea.translated(1, 1), Qt::AlignLeft | Qt::AlignVCenter, caption_);
        painter.setPen(kShadow.darker(150));
    }
    painter.drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter, caption_);
}

BoardLine::BoardLine(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BoardLine::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), kOutline);
}

UpDown::UpDown(QLabel& buddy, int minimum, int maximum, QWidget* parent)
    : QWidget(parent),
      buddy_(buddy),
      minimum_(minimum),
      maximum_(maximum),
      up_(new QToolButton(this)),
      down_(new QToolButton(this)) {
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    // The arrows give the focus to the control as a whole.
    for (QToolButton* arrow : {up_, down_}) {
        arrow->setAutoRepeat(true);
        arrow->setFocusPolicy(Qt::NoFocus);
    }
    setFocusPolicy(Qt::StrongFocus);
    connect(up_, &QToolButton::clicked, this, [this] { emit stepAsked(+1); });
    connect(down_, &QToolButton::clicked, this, [this] { emit stepAsked(-1); });
}

int UpDown::value() const {
    return static_cast<int>(
        std::clamp<std::int64_t>(NumberFromText(buddy_.text().toStdString()), minimum_, maximum_));
}

void UpDown::valueShown() {
    QAccessibleValueChangeEvent changed(this, value());
    QAccessible::updateAccessibility(&changed);
}

void UpDown::resizeEvent(QResizeEvent* /*event*/) {
    const int half = height() / 2;
    up_->setGeometry(0, 0, width(), half);
    down_->setGeometry(0, half, width(), height() - half);
}

void UpDown::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Plus:
            emit stepAsked(+1);
            break;
        case Qt::Key_Down:
        case Qt::Key_Minus:
            emit stepAsked(-1);
            break;
        default:
            QWidget::keyPressEvent(event);
    }
}

FocusRing::FocusRing(QWidget& window) : QWidget(&window), window_(window) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget* /*old*/, QWidget* now) { follow(now); });
}

// The ring lies just under the control (and the level's number), so they paint over all of it
// but its edge.
void FocusRing::follow(QWidget* focused) {
    const auto* button = qobject_cast<const ColorButton*>(focused);
    if (focused == nullptr || focused->window() != &window_ ||
        (button != nullptr && button->showsFocusInside())) {
        hide();
        return;
    }
    QWidget* lowest = focused;
    QRect area = focused->geometry();
    if (const auto* level = qobject_cast<const UpDown*>(focused)) {
        lowest = &level->buddy();
        area |= lowest->geometry();
    }
    // Near its parent's edge the ring gives up the gap, not its width.
    setParent(focused->parentWidget());
    setGeometry(area.adjusted(-kRingMargin, -kRingMargin, kRingMargin, kRingMargin) &
                parentWidget()->rect());
    stackUnder(lowest);
    show();
}

void FocusRing::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    drawFocusFrame(painter, rect());
}

}  // namespace quorbel
