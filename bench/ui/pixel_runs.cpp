// quorbel-pixel-runs: what a person at the screen sees of a few pixels over time. Samples pixels
// of an X window every half millisecond (or as often as the X server lets it) and prints each
// colour a pixel showed, with when it appeared and how long it stayed:
//
//     quorbel-pixel-runs WINDOW MILLISECONDS [NAME=]X,Y ...
//     NAME start_ms duration_ms #rrggbb
//
// WINDOW is an X window id (xdotool search prints them); the points are inside that window and
// named by their X,Y unless a name is given. A
// colour that stays less than one display frame (16.7 ms at 60 Hz) is never seen on a real screen.

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Point {
    std::string name;
    int x = 0;
    int y = 0;
    unsigned long shown = ~0UL;  // the colour on the screen since `since`
    double since = 0;
};

// "X,Y", or "NAME=X,Y" to print the pixel's runs under a name.
bool ParsePoint(const std::string& text, Point& point) {
    const auto equals = text.find('=');
    const std::string at = equals == std::string::npos ? text : text.substr(equals + 1);
    const auto comma = at.find(',');
    if (comma == std::string::npos || at.find_first_not_of("0123456789,") != std::string::npos) {
        return false;
    }
    point.name = equals == std::string::npos ? text : text.substr(0, equals);
    point.x = std::stoi(at.substr(0, comma));
    point.y = std::stoi(at.substr(comma + 1));
    return true;
}

void PrintRun(const Point& point, double until) {
    std::printf("%s %.1f %.1f #%06lx\n", point.name.c_str(), point.since, until - point.since,
                point.shown);
}

// One image of the rectangle around all points per sample: a single round trip to the server.
class Sampler {
  public:
    Sampler(Display* display, Window window, const std::vector<Point>& points)
        : display_(display), window_(window) {
        left_ = top_ = 1 << 30;
        int right = 0;
        int bottom = 0;
        for (const Point& p : points) {
            left_ = std::min(left_, p.x);
            top_ = std::min(top_, p.y);
            right = std::max(right, p.x);
            bottom = std::max(bottom, p.y);
        }
        width_ = static_cast<unsigned>(right - left_ + 1);
        height_ = static_cast<unsigned>(bottom - top_ + 1);
    }

    // False when the window is gone.
    bool Sample(std::vector<Point>& points, double now, bool first) {
        XImage* image =
            XGetImage(display_, window_, left_, top_, width_, height_, AllPlanes, ZPixmap);
        if (image == nullptr) {
            return false;
        }
        for (Point& p : points) {
            const unsigned long pixel = XGetPixel(image, p.x - left_, p.y - top_) & 0xFFFFFF;
            if (first) {
                p.shown = pixel;
            } else if (pixel != p.shown) {
                PrintRun(p, now);
                p.shown = pixel;
                p.since = now;
            }
        }
        XDestroyImage(image);
        return true;
    }

  private:
    Display* display_;
    Window window_;
    int left_;
    int top_;
    unsigned width_;
    unsigned height_;
};

}  // namespace

int main(int argc, char* argv[]) {
    std::vector<Point> points;
    for (int i = 3; i < argc; ++i) {
        Point point;
        if (!ParsePoint(argv[i], point)) {
            points.clear();
            break;
        }
        points.push_back(point);
    }
    if (points.empty()) {
        std::fprintf(stderr, "usage: quorbel-pixel-runs WINDOW MILLISECONDS [NAME=]X,Y ...\n");
        return 2;
    }
    const auto window = static_cast<Window>(std::stoul(argv[1], nullptr, 0));
    const double duration = std::stod(argv[2]);

    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "quorbel-pixel-runs: cannot open the display\n");
        return 1;
    }
    Sampler sampler(display, window, points);
    const Clock::time_point start = Clock::now();
    Clock::time_point next = start;
    double now = 0;
    bool open = sampler.Sample(points, now, true);
    while (open && now < duration) {
        next = std::max(next + std::chrono::microseconds(500), Clock::now());
        std::this_thread::sleep_until(next);
        now = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        open = sampler.Sample(points, now, false);
    }
    for (const Point& p : points) {
        PrintRun(p, now);
    }
    XCloseDisplay(display);
    return 0;
}
