#include "ui/qt/controls.h"

#include <QPainter>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <utility>

#include "ui/runtime.h"

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

constexpr int kButtonPictureSize = 24;

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

void keepLookWhenDisabled(QWidget& widget) {
    QPalette palette = widget.palette();
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        const auto r = static_cast<QPalette::ColorRole>(role);
        palette.setColor(QPalette::Disabled, r, palette.color(QPalette::Active, r));
    }
    widget.setPalette(palette);
}

void Colored::setColor(Color color) {
    if (color != color_) {
        color_ = color;
        self_.update();
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
    if (hasFocus()) {
        painter.setPen(QPen(kOutline, 1, Qt::DotLine));
        painter.drawRect(r.adjusted(3, 3, -4, -4));
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
    for (QToolButton* arrow : {up_, down_}) {
        arrow->setAutoRepeat(true);
        arrow->setFocusPolicy(Qt::NoFocus);
    }
    connect(up_, &QToolButton::clicked, this, [this] { stepBy(+1); });
    connect(down_, &QToolButton::clicked, this, [this] { stepBy(-1); });
}

void UpDown::stepBy(int delta) {
    const auto shown = NumberFromText(buddy_.text().toStdString());
    const auto next = std::clamp<std::int64_t>(shown + delta, minimum_, maximum_);
    buddy_.setText(QString::number(next));
}

void UpDown::resizeEvent(QResizeEvent* /*event*/) {
    const int half = height() / 2;
    up_->setGeometry(0, 0, width(), half);
    down_->setGeometry(0, half, width(), height() - half);
}

}  // namespace quorbel
