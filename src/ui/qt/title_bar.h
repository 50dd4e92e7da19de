#pragma once

// The title bar the windows draw themselves on Wayland. There the compositor may leave the title
// bar to the program, and the one Qt then draws offers minimise and maximise buttons whatever the
// window's flags say, also for a window of fixed size. This one shows what the flags of the
// game's windows ask for: the icon, the title and a close box. Dragging it moves the window.

#include <QWidget>

namespace quorbel {

class TitleBar : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kHeight = 22;

    // On Wayland, gives a fixed-size window its own title bar before it is first shown: the
    // window grows by the bar, and its contents move down under it unchanged.
    static void addOnWayland(QWidget& window);
    // The same on any platform.
    static void add(QWidget& window);

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    explicit TitleBar(QWidget& window);

    QWidget& window_;
    QWidget* closeBox_;
};

}  // namespace quorbel
