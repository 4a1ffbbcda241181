#include "view/placement.hpp"

#include <GL/freeglut.h>

#include <cmath>

#include "app/scene_state.hpp"

using namespace scena;

void Avanza(double d)
{
    // 0.0174 is this program's degrees-to-radians factor, a little short of
    // pi/180: steps drift slightly towards heading 0 from the drawn facing.
    const double a = direzione * 0.0174;
    glTranslatef(static_cast<GLfloat>(d * std::sin(a)), 0.0f, static_cast<GLfloat>(d * std::cos(a)));
}

void TraslaIndietro()
{
    Avanza(-15);
    glutPostRedisplay();
}

void TraslaAvanti()
{
    Avanza(15);
    glutPostRedisplay();
}

void RuotaADestra()
{
    direzione = (direzione - 15) % 360;
    glutPostRedisplay();
}

void RuotaASinistra()
{
    direzione = (direzione + 15) % 360;
    glutPostRedisplay();
}

void Ruota180()
{
    // No remainder here: repeated half-turns keep lowering the heading until
    // the next 15-degree or arrow turn brings it back inside (-360, 360).
    direzione -= 180;
    glutPostRedisplay();
}
