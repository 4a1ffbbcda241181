#include "bench/window.hpp"

#include <GL/freeglut.h>

#include "app/scene_state.hpp"
#include "app/startup.hpp"
#include "figure/skeleton.hpp"

using namespace scena;

void ApriFinestra()
{
    // GLUT gets a command line of its own, so benchmark flags never reach it.
    static char nome[] = "pavok-bench";
    static char* argv[] = {nome, nullptr};
    int argc = 1;
    Avvio(&argc, argv);
    for (int i = 0; i < 50; ++i) glutMainLoopEvent();  // map, first reshape, expose
    for (int i = 0; i < 10; ++i) display();
    glFinish();
}

void RiportaAllInizio()
{
    Attenti();
    direzione = 0;
    PuntoDiVista();
}

void FrameVuoto()
{
    glClear(GL_COLOR_BUFFER_BIT);
    glClear(GL_DEPTH_BUFFER_BIT);
    glutSwapBuffers();
}
