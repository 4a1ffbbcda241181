// Preloaded into the program, makes freeglut's context never current, as where
// a context is created but cannot draw (indirect GLX without the driver's
// support): the first GL call that must answer, glGenLists, gives 0.
#include <GL/glx.h>

extern "C" Bool glXMakeCurrent(Display*, GLXDrawable, GLXContext) { return True; }
extern "C" Bool glXMakeContextCurrent(Display*, GLXDrawable, GLXDrawable, GLXContext) { return True; }
