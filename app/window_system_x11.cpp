#include "app/window_system.hpp"

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xlibint.h>
#include <X11/extensions/XInput2.h>

namespace {

// While one of its menus is open, freeglut places the menu and follows the
// pointer in screen coordinates (a motion event's root position), but checks
// a button press or release on the window in the window's own coordinates
// against that menu. Wherever the window's inside is not at the screen's
// origin, a release lands on another entry, or outside the menu. So while a
// menu is open, a button event on the window carries its screen position in
// place of its window position. Events on the menu's own window, and every
// event while no menu is open, stay as they are: freeglut reads those right.
// The root position is left as it was, so a freeglut that one day reads it
// for button events, as it does for motion, is not thrown off.
// (A press outside an open menu closes it, and reopens it where the press was
// if that was inside the window, a check freeglut makes on the same numbers:
// such a press farther right or down the screen than the window is wide or
// tall only closes the menu.)
//
// Xlib converts events as it reads them: the press that opens a menu is read
// while the menu is closed, the release that chooses once it is open.
Window finestra = None;   // the program's window
bool menuAperto = false;  // one of its menus is open

// A freeglut built with XInput 2 selects its pointer events, so buttons come
// as XInput events; otherwise as core ones. Xlib's own conversion of each:
Bool (*xinput)(Display*, XGenericEventCookie*, xEvent*) = nullptr;
Bool (*core[2])(Display*, XEvent*, xEvent*) = {nullptr, nullptr};  // press, release

Bool BottoneXInput(Display* display, XGenericEventCookie* cookie, xEvent* wire)
{
    const Bool tenuto = xinput(display, cookie, wire);
    auto* e = static_cast<XIDeviceEvent*>(cookie->data);
    const bool bottone = cookie->evtype == XI_ButtonPress || cookie->evtype == XI_ButtonRelease;
    if (tenuto && bottone && menuAperto && e->event == finestra) {
        e->event_x = e->root_x;
        e->event_y = e->root_y;
    }
    return tenuto;
}

Bool BottoneCore(Display* display, XEvent* event, xEvent* wire)
{
    const Bool tenuto = core[(wire->u.u.type & 0x7f) - ButtonPress](display, event, wire);
    XButtonEvent& b = event->xbutton;
    if (tenuto && menuAperto && b.window == finestra) {
        b.x = b.x_root;
        b.y = b.y_root;
    }
    return tenuto;
}

void StatoMenu(int status, int, int) { menuAperto = status == GLUT_MENU_IN_USE; }

}  // namespace

// A program started from a terminal writes to it already.
void CollegoTerminale() {}

std::string NomeSchermo(const char* nome) { return XDisplayName(nome); }

std::string SchermoCorrente()
{
    Display* display = glXGetCurrentDisplay();
    return display != nullptr ? DisplayString(display) : "";
}

void CorreggoMenu()
{
    Display* display = glXGetCurrentDisplay();
    finestra = glXGetCurrentDrawable();
    glutMenuStatusFunc(StatoMenu);
    core[0] = XESetWireToEvent(display, ButtonPress, BottoneCore);
    core[1] = XESetWireToEvent(display, ButtonRelease, BottoneCore);
    int opcode, evento, errore;
    if (!XQueryExtension(display, "XInputExtension", &opcode, &evento, &errore)) return;
    // Only where libXi already converts them, which it does once freeglut has
    // selected XInput events: an unset converter cannot be put back.
    if (display->generic_event_vec[opcode & 0x7f] == nullptr) return;
    xinput = XESetWireToEventCookie(display, opcode, BottoneXInput);
}
