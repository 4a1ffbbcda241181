#include "app/window_system.hpp"

#include <windows.h>

#include <cstdio>

namespace {

// Windows names a display by its monitor's device, "\\.\DISPLAY1".
std::string Monitor(HMONITOR monitor)
{
    MONITORINFOEXA info{};
    info.cbSize = sizeof info;
    return GetMonitorInfoA(monitor, &info) ? info.szDevice : "";
}

}  // namespace

// pavok.exe is a window program, so that a double-click opens the window
// alone: a console program gets a console window of its own whenever it is
// not started from one, and one that frees it at once still flashes it. A
// window program started from cmd or PowerShell has no output, though, unless
// redirected: so it attaches to the console of the program that started it,
// if that has one, and writes there what has nowhere else to go (--help,
// --version, the no-context message, freeglut's warnings). The console does
// not wait for a window program: its prompt comes back at once, before the
// text. And, as any program attached to it, pavok ends when it is closed.
void CollegoTerminale()
{
    auto senza = [](DWORD handle) {
        HANDLE h = GetStdHandle(handle);
        return h == nullptr || h == INVALID_HANDLE_VALUE;
    };
    const bool out = senza(STD_OUTPUT_HANDLE), err = senza(STD_ERROR_HANDLE);
    if (!(out || err) || !AttachConsole(ATTACH_PARENT_PROCESS)) return;
    if (out) std::freopen("CONOUT$", "w", stdout);
    if (err) std::freopen("CONOUT$", "w", stderr);
}

// freeglut reads -display everywhere but opens no other display on Windows;
// the window asks for the top-left corner, which is the primary monitor's.
std::string NomeSchermo(const char*)
{
    return Monitor(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY));
}

std::string SchermoCorrente()
{
    HDC dc = wglGetCurrentDC();
    HWND window = dc != nullptr ? WindowFromDC(dc) : nullptr;
    return window != nullptr ? Monitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)) : "";
}

// The X11 mend adjusts events as Xlib converts them; Windows has no such step.
void CorreggoMenu() {}
