#include "figure/skeleton.hpp"

#include <GL/freeglut.h>

#include "app/scene_state.hpp"

using namespace scena;

namespace {

struct Rotazione {
    const int* angolo;  // nullptr ends a row's rotations
    GLfloat ax, ay, az;
};

constexpr GLfloat X[] = {1, 0, 0}, Y[] = {0, 1, 0}, Z[] = {0, 0, 1};

constexpr Rotazione attorno(const int& angolo, const GLfloat (&asse)[3])
{
    return {&angolo, asse[0], asse[1], asse[2]};
}

struct Segmento {
    GLfloat dx, dy, dz;      // joint offset in the parent frame
    Rotazione rotazioni[3];  // x, then y, then z: z acts innermost
    bool piede;              // feet are built along -x; a fixed turn points them forward
    const GLuint* lista;
    void (*figli[3])();  // nullptr ends the children
};

// clang-format off
// Rows of the skeleton, in drawing order:
//                 segment              joint offset        rotations, in call order                                                      foot   list                  children
constexpr Segmento torace            = {0,      1,      0, {attorno(panciax, X),     attorno(panciay, Y),     attorno(panciaz, Z)},       false, &panciaEtorace,      {DisegnoTesta, DisegnoBraccioDestro, DisegnoBraccioSinistro}};
constexpr Segmento testa             = {0,      4.4f,   0, {attorno(collox, X),      attorno(colloy, Y),      attorno(colloz, Z)},        false, &colloEtesta,        {}};
constexpr Segmento braccioDestro     = {-2.5f,  3,      0, {attorno(spalladesx, X),  attorno(spalladesy, Y),  attorno(spalladesz, Z)},    false, &bicipideEspalla,    {DisegnoGomitoDestro}};
constexpr Segmento gomitoDestro      = {0,      -2.85f, 0, {attorno(gomdesx, X)},                                                         false, &avambraccioEgomito, {DisegnoPolsoDestro}};
constexpr Segmento polsoDestro       = {0,      -2.7f,  0, {attorno(polsodesz, Z)},                                                       false, &manoEpolso,         {}};
constexpr Segmento braccioSinistro   = {2.5f,   3,      0, {attorno(spallasinx, X),  attorno(spallasiny, Y),  attorno(spallasinz, Z)},    false, &bicipideEspalla,    {DisegnoGomitoSinistro}};
constexpr Segmento gomitoSinistro    = {0,      -2.85f, 0, {attorno(gomsinx, X)},                                                         false, &avambraccioEgomito, {DisegnoPolsoSinistro}};
constexpr Segmento polsoSinistro     = {0,      -2.7f,  0, {attorno(polsosinz, Z)},                                                       false, &manoEpolso,         {}};
constexpr Segmento gambaSinistra     = {0.75f,  -1,     0, {attorno(gamsinx, X),     attorno(gamsinz, Z)},                                false, &cosciaEgluteo,      {DisegnoGinocchioSinistro}};
constexpr Segmento ginocchioSinistro = {0,      -4.9f,  0, {attorno(ginsinx, X)},                                                         false, &stincoEginocchio,   {DisegnoCavigliaSinistra}};
constexpr Segmento cavigliaSinistra  = {0,      -4.9f,  0, {attorno(cavsinx, X)},                                                         true,  &piedeEcaviglia,     {}};
constexpr Segmento gambaDestra       = {-0.75f, -1,     0, {attorno(gamdesx, X),     attorno(gamdesz, Z)},                                false, &cosciaEgluteo,      {DisegnoGinocchioDestro}};
constexpr Segmento ginocchioDestro   = {0,      -4.9f,  0, {attorno(gindesx, X)},                                                         false, &stincoEginocchio,   {DisegnoCavigliaDestra}};
constexpr Segmento cavigliaDestra    = {0,      -4.9f,  0, {attorno(cavdesx, X)},                                                         true,  &piedeEcaviglia,     {}};
// clang-format on

// clang-format off
void PassoSegmento(const Segmento& s)
{
    glPushMatrix();
        glTranslatef(s.dx, s.dy, s.dz);
        for (const Rotazione& r : s.rotazioni) {
            if (r.angolo == nullptr) break;
            glRotatef(static_cast<GLfloat>(*r.angolo), r.ax, r.ay, r.az);
        }
        if (s.piede) glRotatef(90, 0, 1, 0);
        glCallList(*s.lista);
        for (void (*figlio)() : s.figli) {
            if (figlio == nullptr) break;
            glPushMatrix();
                figlio();
            glPopMatrix();
        }
    glPopMatrix();
}

}  // namespace

void display()
{
    DisegnoScena();
    glutSwapBuffers();
}

void DisegnoScena()
{
    glClear(GL_COLOR_BUFFER_BIT);
    glClear(GL_DEPTH_BUFFER_BIT);
    glPushMatrix();
        // The heading is applied here, after every translation already in the
        // matrix, so the figure turns in place and its moves stay on world axes.
        glRotatef(static_cast<GLfloat>(direzione), 0, 1, 0);
        DisegnoUomo();
    glPopMatrix();
}

void DisegnoUomo()
{
    glColor3f(1, 1, 1);  // no effect under lighting; the default material shows
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
        glCallList(bacino);
    glPopMatrix();
    glPushMatrix();
        DisegnoSopraBacino();
    glPopMatrix();
    glPushMatrix();
        DisegnoSottoBacino();
    glPopMatrix();
}

void DisegnoSopraBacino()
{
    glPushMatrix();
        DisegnoTorace();
    glPopMatrix();
}

void DisegnoSottoBacino()
{
    glPushMatrix();
        DisegnoGambaSinistra();
    glPopMatrix();
    glPushMatrix();
        DisegnoGambaDestra();
    glPopMatrix();
}

void DisegnoTorace() { PassoSegmento(torace); }
void DisegnoTesta() { PassoSegmento(testa); }
void DisegnoBraccioDestro() { PassoSegmento(braccioDestro); }
void DisegnoGomitoDestro() { PassoSegmento(gomitoDestro); }
void DisegnoPolsoDestro() { PassoSegmento(polsoDestro); }
void DisegnoBraccioSinistro() { PassoSegmento(braccioSinistro); }
void DisegnoGomitoSinistro() { PassoSegmento(gomitoSinistro); }
void DisegnoPolsoSinistro() { PassoSegmento(polsoSinistro); }
void DisegnoGambaSinistra() { PassoSegmento(gambaSinistra); }
void DisegnoGinocchioSinistro() { PassoSegmento(ginocchioSinistro); }
void DisegnoCavigliaSinistra() { PassoSegmento(cavigliaSinistra); }
void DisegnoGambaDestra() { PassoSegmento(gambaDestra); }
void DisegnoGinocchioDestro() { PassoSegmento(ginocchioDestro); }
void DisegnoCavigliaDestra() { PassoSegmento(cavigliaDestra); }
// clang-format on
