#include "ui/qt/title_bar.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include "ui/qt/controls.h"

namespace quorbel {

namespace {

const QColor kActiveBar(0, 0, 128);
const QColor kInactiveBar(128, 128, 128);
const QColor kTitleText(255, 255, 255);
constexpr Color kCloseBoxFace = rgb(192, 192, 192);
constexpr int kIconSize = 16;
constexpr int kMargin = 3;

}  // namespace

void TitleBar::addOnWayland(QWidget& window) {
    if (QGuiApplication::platformName().startsWith(QStringLiteral("wayland"))) {
        add(window);
    }
}

void TitleBar::add(QWidget& window) {
    const QSize inside = window.size();
    for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        child->move(child->pos() + QPoint(0, kHeight));
    }
    window.setFixedSize(inside.width(), inside.height() + kHeight);
    // Only the window's type is kept: Qt drops "frameless" next to the hints of a title bar.
    window.setWindowFlags((window.windowFlags() & Qt::WindowType_Mask) | Qt::FramelessWindowHint);
    new TitleBar(window);
}

TitleBar::TitleBar(QWidget& window)
    : QWidget(&window), window_(window), closeBox_(new ColorButton(kCloseBoxFace, this)) {
    setObjectName(QStringLiteral("titleBar"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setGeometry(0, 0, window.width(), kHeight);
    setAccessibleName(QStringLiteral("Titelleiste"));

    auto* close = static_cast<ColorButton*>(closeBox_);
    close->setObjectName(QStringLiteral("closeBox"));
    close->setText(QStringLiteral("\u00d7"));
    close->setFont(windowFont(12, true));
    close->setFocusPolicy(Qt::NoFocus);
    close->setAccessibleName(QStringLiteral("Schließen"));
    const int side = kHeight - 2 * kMargin;
    close->setGeometry(width() - kMargin - side - 2, kMargin, side + 2, side);
    connect(close, &QPushButton::clicked, &window_, &QWidget::close);
}

bool TitleBar::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::WindowDeactivate) {
        update();
    }
    return QWidget::event(event);
}

void TitleBar::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), window_.isActiveWindow() ? kActiveBar : kInactiveBar);
    const QRect icon(kMargin, (height() - kIconSize) / 2, kIconSize, kIconSize);
    window_.windowIcon().paint(&painter, icon);
    const QRect title(icon.right() + 1 + kMargin, 0, closeBox_->x() - icon.right() - 2 * kMargin,
                      height());
    painter.setPen(kTitleText);
    painter.setFont(windowFont(9, true));
    painter.drawText(title, Qt::AlignLeft | Qt::AlignVCenter, window_.windowTitle().trimmed());
}

void TitleBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && window_.windowHandle() != nullptr) {
        window_.windowHandle()->startSystemMove();
    }
}

}  // namespace quorbel
