#include <cstdio>

int main() {
    std::fputs("quorbel: the game window is not built yet; the game logic and its tests are.\n",
               stderr);
    return 1;
}
