// Start-up time seen from outside: from launching a program to the moment its
// first frame is on the screen, for the program and for a minimal GLUT program,
// launched alternately so that both see the same machine.
//
// The first frame is seen in the X server's own pixels: the 64 x 64 square at the
// centre of the w0 x h0 window at (0, 0), read from the root window every half
// millisecond, until one pixel is cyan (green and blue well above red). The lit
// figure is cyan there (the light has no red) and the minimal program clears to
// cyan; the screen before it (black, or Xvfb's grey root weave) never is.
//
//   pavok-bench-startup RUNS PROGRAM MINIMAL   prints key value lines
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ratio>
#include <thread>
#include <vector>

#include "app/scene_state.hpp"

namespace {

using Orologio = std::chrono::steady_clock;
const int Lato = 64, X0 = scena::w0 / 2 - Lato / 2, Y0 = scena::h0 / 2 - Lato / 2;

bool Ciano(Display* d)
{
    XImage* im = XGetImage(d, DefaultRootWindow(d), X0, Y0, Lato, Lato, AllPlanes, ZPixmap);
    if (im == nullptr) return false;
    bool trovato = false;
    for (int y = 0; y < Lato && !trovato; ++y)
        for (int x = 0; x < Lato && !trovato; ++x) {
            const unsigned long p = XGetPixel(im, x, y);
            const int r = (p >> 16) & 0xff, g = (p >> 8) & 0xff, b = p & 0xff;
            trovato = g >= r + 40 && b >= r + 40;
        }
    XDestroyImage(im);
    return trovato;
}

// Waits until the previous program's window is gone from the screen.
bool Libero(Display* d)
{
    for (int i = 0; i < 4000; ++i) {
        if (!Ciano(d)) return true;
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    return false;
}

// Milliseconds to the first frame, or a negative number if none came in 30 s.
double Misura(Display* d, const char* programma)
{
    if (!Libero(d)) return -1;
    const auto t0 = Orologio::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execl(programma, programma, static_cast<char*>(nullptr));
        _exit(127);
    }
    double ms = -1;
    while (true) {
        const double t = std::chrono::duration<double, std::milli>(Orologio::now() - t0).count();
        if (Ciano(d)) {
            ms = t;
            break;
        }
        if (t > 30000 || waitpid(pid, nullptr, WNOHANG) == pid) break;
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    return ms;
}

double Mediana(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s RUNS PROGRAM MINIMAL\n", argv[0]);
        return 2;
    }
    const int giri = std::atoi(argv[1]);
    Display* d = XOpenDisplay(nullptr);
    if (d == nullptr) {
        std::fprintf(stderr, "%s: no display\n", argv[0]);
        return 1;
    }
    std::vector<double> programma, minimo;
    for (int i = 0; i < giri; ++i) {
        // Alternate which goes first, so neither always follows the other.
        const bool primoMinimo = i % 2 == 0;
        for (int k = 0; k < 2; ++k) {
            const bool ilMinimo = (k == 0) == primoMinimo;
            const double ms = Misura(d, ilMinimo ? argv[3] : argv[2]);
            if (ms < 0) {
                std::fprintf(stderr, "%s: no first frame from %s\n", argv[0], ilMinimo ? argv[3] : argv[2]);
                return 1;
            }
            (ilMinimo ? minimo : programma).push_back(ms);
        }
    }
    std::printf("startup.runs %d\n", giri);
    std::printf("startup.program_ms %.3f\n", Mediana(programma));
    std::printf("startup.minimal_ms %.3f\n", Mediana(minimo));
    std::printf("startup.program_min_ms %.3f\n", *std::min_element(programma.begin(), programma.end()));
    std::printf("startup.minimal_min_ms %.3f\n", *std::min_element(minimo.begin(), minimo.end()));
    XCloseDisplay(d);
    return 0;
}
