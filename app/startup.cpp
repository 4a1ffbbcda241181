#include "app/startup.hpp"

#include <GL/freeglut.h>
#include <GL/glu.h>

#include "app/command_line.hpp"
#include "app/scene_state.hpp"
#include "app/window_system.hpp"
#include "controls/joint_keys.hpp"
#include "controls/menus.hpp"
#include "controls/special_keys.hpp"
#include "figure/body_parts.hpp"
#include "figure/skeleton.hpp"
#include "view/projection.hpp"

using namespace scena;

void init()
{
    glClearColor(0.0, 0.0, 0.0, 0.0);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
}

void PuntoDiVista()
{
    // The only load of the modelview matrix: from here on the figure's moves are
    // multiplied onto it and stay there.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(VPx, VPy, VPz, 0, 0, 0, 0, 1, 0);
}

void CostruiscoLuci()
{
    // w = 1 makes the light positional. Given right after the camera, the
    // position is in world coordinates, so the light never moves with the figure.
    const GLfloat lightZeroPosition[] = {static_cast<GLfloat>(LSPx), static_cast<GLfloat>(LSPy),
                                         static_cast<GLfloat>(LSPz), 1.0f};
    const GLfloat lightZeroColor[] = {R, G, B, 0.0f};

    glShadeModel(GL_SMOOTH);
    glEnable(GL_LIGHTING);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 1);
    glLightfv(GL_LIGHT0, GL_POSITION, lightZeroPosition);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, lightZeroColor);
    glEnable(GL_LIGHT0);
}

void Avvio(int* argc, char** argv)
{
    RicordoSchermo(*argc, argv);
    glutInit(argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(w0, h0);
    glutInitWindowPosition(0, 0);
    glutCreateWindow("Pavok");

    init();
    PuntoDiVista();
    CostruiscoLuci();  // after the camera: see CostruiscoLuci
    DefDisplayLists();

    glutDisplayFunc(display);
    glutReshapeFunc(reshape);
    glutKeyboardFunc(keyboard);
    glutSpecialFunc(specialkeyboard);
    CostruiscoMenu();
    CorreggoMenu();  // freeglut misplaces button events while a menu is open
    // No viewport or projection here: GLUT's first reshape sets both before
    // the first frame.
}
