#pragma once

// The real main window with a scripted computer, shown on the offscreen platform, and what the
// widget tests read from it: widgets by object name, and colours from the pixels of grab().

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <utility>

#include "support/scripted_player.h"
#include "ui/qt/frm_quorbel.h"

namespace quorbel::testing {

class WindowFixture {
  public:
    enum class Shows { Unwatched, Watched };

    explicit WindowFixture(ComputerPlayer* computer = nullptr, Shows shows = Shows::Unwatched)
        : window(computer != nullptr ? *computer : player) {
        if (shows == Shows::Unwatched) {
            window.toolkit().pacer().useVirtualClock();  // the shows' frames without their waits
        }
        window.show();
        ready = QTest::qWaitForWindowExposed(&window);
    }

    template <typename T = QWidget>
    T* find(ControlRef ref) const {
        return window.findChild<T*>(QString::fromStdString(objectName(ref)));
    }
    template <typename T = QWidget>
    T* find(const QString& name) const {
        return window.findChild<T*>(name);
    }

    void click(ControlRef ref) const { QTest::mouseClick(find(ref), Qt::LeftButton); }
    void clickColumn(int column) const { click({Control::cmdFeld, column - 1}); }
    void clickMenu(int index) const { click({Control::cmdMenue, index}); }

    QString text(Control label) const { return find<QLabel>(label)->text(); }
    bool shown(ControlRef ref) const { return find(ref)->isVisibleTo(&window); }

    // The colour at the centre of a widget, as the window shows it.
    QColor pixelAt(const QWidget* widget, QPoint offset = {}) {
        const QImage image = window.grab().toImage();
        const QPoint centre = widget->mapTo(&window, widget->rect().center() + offset);
        return image.pixelColor(centre * image.devicePixelRatio());
    }
    QColor cellPixel(int column, int row) {
        return pixelAt(find({Control::Feld, cellIndex(column, row)}));
    }
    // The background a column button shows beside its picture.
    QColor columnButtonPixel(int column) {
        return pixelAt(find({Control::cmdFeld, column - 1}), QPoint(-20, 0));
    }

    const GameRecord& rec() { return window.game().record(); }

    // What the window said last to assistive technology: the text of the notification shown.
    QString announced() const {
        for (const QWidget* note : window.findChildren<Notification*>()) {
            if (note->isVisible()) {
                return note->accessibleName();
            }
        }
        return {};
    }

    ScriptedPlayer player;
    frmQuorbel window;
    bool ready = false;
};

// The object name of the control with the keyboard's focus.
inline QString focused() {
    const QWidget* widget = QApplication::focusWidget();
    return widget != nullptr ? widget->objectName() : QString();
}

// Runs action once, while one of the window's shows holds a frame on the screen.
inline void onShow(WindowFixture& f, std::function<void()> action) {
    QTimer::singleShot(1, &f.window, [&f, action = std::move(action)] {
        if (f.window.toolkit().pacer().running()) {
            action();
        } else {
            onShow(f, action);
        }
    });
}

// Colours as the window shows them.
inline const QColor kRedShown(255, 0, 0), kBlueShown(0, 0, 255), kWhiteShown(255, 255, 255),
    kLightGreenShown(0, 255, 0);

}  // namespace quorbel::testing
