#include "view/projection.hpp"

#include <GL/freeglut.h>

#include "app/scene_state.hpp"

using namespace scena;

void reshape(int width, int height)
{
    larghezza = width;
    altezza = height;  // kept only so the menu operations can pass it back
    x = right - left;
    y = top - bottom;

    // The viewport height follows the width, never the height, so one unit of
    // the view volume covers as many pixels across as down: no stretching.
    int altezzaViewport = 0;
    const bool vuoto = (x == 0 || y == 0);  // six narrowings from the start: nothing to see
    if (!vuoto) {
        ydivisox = static_cast<float>(static_cast<double>(y) / x);
        altezzaViewport = static_cast<int>(width * static_cast<double>(ydivisox));
    }
    glViewport(0, 0, width, altezzaViewport);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // An empty volume keeps the identity: GL would refuse the frustum or box anyway.
    if (!vuoto) {
        if (proiez == 1)
            glFrustum(left, right, bottom, top, frontplane, backplane);
        else
            glOrtho(left, right, bottom, top, frontplane, backplane);
    }
    glMatrixMode(GL_MODELVIEW);  // the figure's moves translate whatever is current
}

void AllargaVisuale()
{
    left -= 5;
    right += 5;
    bottom -= 5;
    top += 5;
    reshape(larghezza, altezza);
    glutPostRedisplay();
}

void RestringiVisuale()
{
    left += 5;
    right -= 5;
    bottom += 5;
    top -= 5;
    reshape(larghezza, altezza);
    glutPostRedisplay();
}

void CambiaProiezione()
{
    proiez = (proiez + 1) % 2;
    reshape(larghezza, altezza);
    glutPostRedisplay();
}
