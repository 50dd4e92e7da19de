// quorbel-pixel-runs: what a person at the screen sees of one pixel over time. Samples the pixel
// of an X window every half millisecond (or the interval given) and prints each colour it showed,
// with when it appeared and how long it stayed:
//
//     quorbel-pixel-runs WINDOW X Y MILLISECONDS [MICROSECONDS]
//     start_ms  duration_ms  #rrggbb
//
// WINDOW is an X window id (xdotool search prints them); X and Y are inside that window. A colour
// that stays less than one display frame (16.7 ms at 60 Hz) is never seen on a real screen.

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

unsigned long SamplePixel(Display* display, Window window, int x, int y) {
    XImage* image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) {
        return ~0UL;
    }
    const unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
    XDestroyImage(image);
    return pixel;
}

void PrintRun(double start, double end, unsigned long pixel) {
    std::printf("%9.1f %9.1f  #%06lx\n", start, end - start, pixel);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 5 && argc != 6) {
        std::fprintf(stderr, "usage: quorbel-pixel-runs WINDOW X Y MILLISECONDS [MICROSECONDS]\n");
        return 2;
    }
    const auto window = static_cast<Window>(std::stoul(argv[1], nullptr, 0));
    const int x = std::atoi(argv[2]);
    const int y = std::atoi(argv[3]);
    const double duration = std::atof(argv[4]);
    const auto interval = std::chrono::microseconds(argc == 6 ? std::atoi(argv[5]) : 500);

    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "quorbel-pixel-runs: cannot open the display\n");
        return 1;
    }
    const Clock::time_point start = Clock::now();
    Clock::time_point next = start;
    unsigned long shown = SamplePixel(display, window, x, y);
    double shownSince = 0;
    double now = 0;
    while (now < duration) {
        next += interval;
        std::this_thread::sleep_until(next);
        const unsigned long pixel = SamplePixel(display, window, x, y);
        now = MillisecondsSince(start);
        if (pixel != shown) {
            PrintRun(shownSince, now, shown);
            shown = pixel;
            shownSince = now;
        }
    }
    PrintRun(shownSince, now, shown);
    XCloseDisplay(display);
    return 0;
}
