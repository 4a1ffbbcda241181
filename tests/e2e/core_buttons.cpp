// Preloaded into the program, makes freeglut select no XInput 2 events, so that
// its buttons come as core X events, as from a freeglut built without XInput 2.
#include <X11/extensions/XInput2.h>

extern "C" int XISelectEvents(Display*, Window, XIEventMask*, int) { return Success; }
