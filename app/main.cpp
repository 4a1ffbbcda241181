// Pavok: an articulated human figure, posed from the keyboard and animated from
// pop-up menus. The command line belongs to GLUT.
#include <GL/freeglut.h>

#include "app/startup.hpp"

int main(int argc, char** argv)
{
    Avvio(&argc, argv);
    glutMainLoop();  // never returns: GLUT ends the process when the window closes
    return 0;
}
