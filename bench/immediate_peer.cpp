#include "bench/immediate_peer.hpp"

#include <GL/freeglut.h>
#include <GL/glu.h>

#include "app/scene_state.hpp"

using namespace scena;

bool immediato = false;

namespace {

// The nine shapes with the numbers the lists are compiled from, command for
// command (the bench checks the two give the same picture).

void Piede()
{
    glPushMatrix();
    glutSolidSphere(0.3, 10, 10);
    glTranslatef(-0.75f, -0.4f, 0);
    glScalef(1.9f, 0.35f, 0.9f);
    glutSolidCube(1.0);
    glPopMatrix();
}

// The five parts that are a ball, then a tube hung down or stood up.
void PallaETubo(double palla, int fette, float dy, float asse, double base, double cima, double altezza)
{
    glPushMatrix();
    glutSolidSphere(palla, fette, fette);
    GLUquadric* q = gluNewQuadric();
    glTranslatef(0, dy, 0);
    glRotatef(90, asse, 0, 0);
    gluCylinder(q, base, cima, altezza, 20, 20);
    gluDeleteQuadric(q);
    glPopMatrix();
}

void Stinco() { PallaETubo(0.5, 10, -0.3f, 1, 0.5, 0.25, 4.5); }
void Coscia() { PallaETubo(0.7, 20, -0.5f, 1, 0.7, 0.5, 4.0); }
void Bicipite() { PallaETubo(0.6, 10, -0.5f, 1, 0.6, 0.5, 2.0); }
void Avambraccio() { PallaETubo(0.5, 10, -0.4f, 1, 0.5, 0.4, 2.0); }

void Testa()
{
    glPushMatrix();
    glutSolidSphere(0.6, 10, 10);
    glTranslatef(0, 1.8f, 0);
    glScalef(1, 1.4f, 0.7f);
    glutSolidSphere(1.0, 20, 20);
    glTranslatef(0, 0, 0.5f);
    glutSolidCone(0.3, 2.0, 20, 20);
    glPopMatrix();
}

void Bacino()
{
    glPushMatrix();
    GLUquadric* q = gluNewQuadric();
    glTranslatef(0, -0.5f, 0);
    glRotatef(90, -1, 0, 0);
    gluCylinder(q, 1.5, 1.6, 1.0, 20, 20);
    gluDeleteQuadric(q);
    glPopMatrix();
}

void Torace()
{
    glPushMatrix();
    glutSolidSphere(1.5, 20, 20);
    GLUquadric* q = gluNewQuadric();
    glTranslatef(0, 0.5f, 0);
    glRotatef(90, -1, 0, 0);
    gluCylinder(q, 1.6, 2.0, 3.0, 20, 20);
    glTranslatef(0, 0, 3);
    glutSolidCone(2.0, 0.5, 20, 20);
    gluDeleteQuadric(q);
    glPopMatrix();
}

void Mano()
{
    glPushMatrix();
    glutSolidSphere(0.4, 10, 10);
    glTranslatef(0, -1.05f, 0);
    glScalef(0.3f, 1.5f, 1.0f);
    glutSolidCube(1.0);
    glPopMatrix();
}

}  // namespace

extern "C" void __real_glCallList(GLuint list);

extern "C" void __wrap_glCallList(GLuint list)
{
    if (!immediato) return __real_glCallList(list);
    if (list == piedeEcaviglia) Piede();
    else if (list == stincoEginocchio) Stinco();
    else if (list == cosciaEgluteo) Coscia();
    else if (list == colloEtesta) Testa();
    else if (list == bacino) Bacino();
    else if (list == panciaEtorace) Torace();
    else if (list == bicipideEspalla) Bicipite();
    else if (list == avambraccioEgomito) Avambraccio();
    else if (list == manoEpolso) Mano();
}
