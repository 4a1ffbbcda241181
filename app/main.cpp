// Pavok: an articulated human figure, posed from the keyboard and animated from
// pop-up menus. The command line belongs to GLUT, but for --help and --version.
#include <GL/freeglut.h>

#include <cstdio>

#include "app/command_line.hpp"
#include "app/startup.hpp"
#include "app/window_system.hpp"

int main(int argc, char** argv)
{
    CollegoTerminale();
    if (Aiuto(argc, argv, stdout)) return 0;
    Avvio(&argc, argv);
    glutMainLoop();  // never returns: GLUT ends the process when the window closes
    return 0;
}
