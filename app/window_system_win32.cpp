#include "app/window_system.hpp"

#include <windows.h>

namespace {

// Windows names a display by its monitor's device, "\\.\DISPLAY1".
std::string Monitor(HMONITOR monitor)
{
    MONITORINFOEXA info{};
    info.cbSize = sizeof info;
    return GetMonitorInfoA(monitor, &info) ? info.szDevice : "";
}

}  // namespace

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
