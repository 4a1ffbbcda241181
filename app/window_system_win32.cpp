#include "app/window_system.hpp"

#include <GL/freeglut.h>
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

// freeglut's fault, as on X11: while one of its menus is open, it checks a
// button press or release on the window in the window's own coordinates
// against the menu's place on the screen, so it lands on another entry, or
// outside the menu. Windows sends a button message there when the pointer is
// off the menu. So while a menu is open, a button message on the window
// carries its screen position, as on X11; and as there, a press outside the
// menu reopens it only where that position is within the window's size.
// Messages on the menus' own windows, and all while no menu is open, stay as
// they are.
WNDPROC freeglut = nullptr;  // the window's own procedure
bool menuAperto = false;

bool Bottone(UINT message)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: return true;
    default: return false;
    }
}

// Wine's fault alone: it sends a drag's moves and release to the window the
// drag began on, as X does, and drops each one with the pointer off that
// window, so a menu dragged out past it highlights nothing and is released
// nowhere. Under Wine only (its ntdll names its version), a press that opens
// a menu captures the mouse until the buttons are up, so that every move and
// the release reach the window. Each move over a menu is passed on to it, as
// Windows would have sent it, to highlight the entry under the pointer; on
// Windows that happens only while the mouse is captured anyway (a button with
// no menu held down). Button messages stay the window's, in screen
// coordinates as above: freeglut places them against where it put the menu,
// while the menu's window can for a moment still stand where it was.
const bool sottoWine = [] {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}();
bool catturato = false;

HWND MenuSotto(HWND window, POINT schermo)
{
    HWND sotto = WindowFromPoint(schermo);
    const bool nostra = sotto != nullptr && GetWindowThreadProcessId(sotto, nullptr) == GetCurrentThreadId();
    return nostra && sotto != window ? sotto : nullptr;
}

bool Premuti()
{
    return GetKeyState(VK_LBUTTON) < 0 || GetKeyState(VK_MBUTTON) < 0 || GetKeyState(VK_RBUTTON) < 0;
}

LRESULT CALLBACK Bottoni(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT done;
    if (menuAperto && (Bottone(message) || message == WM_MOUSEMOVE)) {
        POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ClientToScreen(window, &p);
        HWND menu = message == WM_MOUSEMOVE ? MenuSotto(window, p) : nullptr;
        if (menu != nullptr) {
            ScreenToClient(menu, &p);
            done = SendMessage(menu, message, wParam, MAKELPARAM(p.x, p.y));
        } else {
            done = CallWindowProc(freeglut, window, message, wParam, Bottone(message) ? MAKELPARAM(p.x, p.y) : lParam);
        }
    } else {
        done = CallWindowProc(freeglut, window, message, wParam, lParam);
    }
    if (sottoWine && !catturato && menuAperto && Premuti()) {
        catturato = true;
        SetCapture(window);
    } else if (catturato && !(menuAperto && Premuti())) {
        catturato = false;
        ReleaseCapture();
    }
    return done;
}

void StatoMenu(int status, int, int) { menuAperto = status == GLUT_MENU_IN_USE; }

// Wine's fault too: it can take a stale report from X of a menu's window,
// from before freeglut moved it, for the window's place. The menu is then on
// the screen where freeglut put it, while Wine holds it at the corner where
// freeglut made it, and reads every move and click on it from there: it
// highlights nothing, or another entry, and no click chooses (seen on a busy
// machine). freeglut moves a menu's window only while it is hidden, so under
// Wine a shown menu that moves is put back.
POINT mostrato{};  // where the open menu's window was shown

LRESULT CALLBACK Menu(HWND menu, UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT done = CallWindowProc(freeglut, menu, message, wParam, lParam);
    if (message == WM_WINDOWPOSCHANGED) {
        const UINT flags = reinterpret_cast<const WINDOWPOS*>(lParam)->flags;
        RECT r{};
        GetWindowRect(menu, &r);
        if (flags & SWP_SHOWWINDOW) {
            mostrato = {r.left, r.top};
        } else if (!(flags & SWP_NOMOVE) && IsWindowVisible(menu) && (r.left != mostrato.x || r.top != mostrato.y)) {
            SetWindowPos(menu, nullptr, mostrato.x, mostrato.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    return done;
}

// The menus' windows: this thread's others with freeglut's own procedure.
BOOL CALLBACK SeguoMenu(HWND w, LPARAM window)
{
    if (w != reinterpret_cast<HWND>(window) &&
        GetWindowLongPtr(w, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(freeglut)) {
        SetWindowLongPtr(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Menu));
    }
    return TRUE;
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
    // No handle, or one left over from a console this process is not on.
    auto senza = [](DWORD handle) {
        HANDLE h = GetStdHandle(handle);
        return h == nullptr || h == INVALID_HANDLE_VALUE || GetFileType(h) == FILE_TYPE_UNKNOWN;
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

void CorreggoMenu()
{
    HWND window = WindowFromDC(wglGetCurrentDC());
    glutMenuStatusFunc(StatoMenu);
    freeglut = reinterpret_cast<WNDPROC>(
        SetWindowLongPtr(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Bottoni)));
    if (sottoWine) EnumThreadWindows(GetCurrentThreadId(), SeguoMenu, reinterpret_cast<LPARAM>(window));
}
