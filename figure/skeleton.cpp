#include "figure/skeleton.hpp"

#include <GL/freeglut.h>

#include "app/scene_state.hpp"

using namespace scena;

namespace {

// One operation per segment: move to the joint, turn by the pose, draw, draw children.
void DisegnoTorace();
void DisegnoTesta();
void DisegnoBraccioDestro();
void DisegnoGomitoDestro();
void DisegnoPolsoDestro();
void DisegnoBraccioSinistro();
void DisegnoGomitoSinistro();
void DisegnoPolsoSinistro();
void DisegnoGambaSinistra();
void DisegnoGinocchioSinistro();
void DisegnoCavigliaSinistra();
void DisegnoGambaDestra();
void DisegnoGinocchioDestro();
void DisegnoCavigliaDestra();

struct Asse {
    GLfloat x, y, z;
};
constexpr Asse X{1, 0, 0}, Y{0, 1, 0}, Z{0, 0, 1};

struct Rotazione {
    const int* angolo;  // nullptr ends a row's rotations
    Asse asse;
};

// Feet are built along -x: a fixed turn about y points them forward.
constexpr int piede = 90;

struct Segmento {
    GLfloat dx, dy, dz;      // joint offset in the parent frame
    Rotazione rotazioni[3];  // in call order: x, then y, then z, which acts innermost
    const GLuint* lista;
    void (*figli[3])();  // nullptr ends the children
};

// clang-format off
// Rows of the skeleton, in drawing order:
//  segment              joint offset     rotations, in call order
//                       list                 children
constexpr Segmento
    torace            = {0,      1,      0,  {{&panciax, X},    {&panciay, Y},    {&panciaz, Z}},
                         &panciaEtorace,      {DisegnoTesta, DisegnoBraccioDestro, DisegnoBraccioSinistro}},
    testa             = {0,      4.4f,   0,  {{&collox, X},     {&colloy, Y},     {&colloz, Z}},
                         &colloEtesta,        {}},
    braccioDestro     = {-2.5f,  3,      0,  {{&spalladesx, X}, {&spalladesy, Y}, {&spalladesz, Z}},
                         &bicipideEspalla,    {DisegnoGomitoDestro}},
    gomitoDestro      = {0,      -2.85f, 0,  {{&gomdesx, X}},
                         &avambraccioEgomito, {DisegnoPolsoDestro}},
    polsoDestro       = {0,      -2.7f,  0,  {{&polsodesz, Z}},
                         &manoEpolso,         {}},
    braccioSinistro   = {2.5f,   3,      0,  {{&spallasinx, X}, {&spallasiny, Y}, {&spallasinz, Z}},
                         &bicipideEspalla,    {DisegnoGomitoSinistro}},
    gomitoSinistro    = {0,      -2.85f, 0,  {{&gomsinx, X}},
                         &avambraccioEgomito, {DisegnoPolsoSinistro}},
    polsoSinistro     = {0,      -2.7f,  0,  {{&polsosinz, Z}},
                         &manoEpolso,         {}},
    gambaSinistra     = {0.75f,  -1,     0,  {{&gamsinx, X},    {&gamsinz, Z}},
                         &cosciaEgluteo,      {DisegnoGinocchioSinistro}},
    ginocchioSinistro = {0,      -4.9f,  0,  {{&ginsinx, X}},
                         &stincoEginocchio,   {DisegnoCavigliaSinistra}},
    cavigliaSinistra  = {0,      -4.9f,  0,  {{&cavsinx, X},    {&piede, Y}},
                         &piedeEcaviglia,     {}},
    gambaDestra       = {-0.75f, -1,     0,  {{&gamdesx, X},    {&gamdesz, Z}},
                         &cosciaEgluteo,      {DisegnoGinocchioDestro}},
    ginocchioDestro   = {0,      -4.9f,  0,  {{&gindesx, X}},
                         &stincoEginocchio,   {DisegnoCavigliaDestra}},
    cavigliaDestra    = {0,      -4.9f,  0,  {{&cavdesx, X},    {&piede, Y}},
                         &piedeEcaviglia,     {}};
// clang-format on

// clang-format off
// Push/pop blocks are indented as the matrix stack they build.
void PassoSegmento(const Segmento& s)
{
    glPushMatrix();
        glTranslatef(s.dx, s.dy, s.dz);
        for (const Rotazione& r : s.rotazioni) {
            if (r.angolo == nullptr) break;
            glRotatef(static_cast<GLfloat>(*r.angolo), r.asse.x, r.asse.y, r.asse.z);
        }
        glCallList(*s.lista);
        for (void (*figlio)() : s.figli) {
            if (figlio == nullptr) break;
            glPushMatrix();
                figlio();
            glPopMatrix();
        }
    glPopMatrix();
}
// clang-format on

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

// clang-format off
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
// clang-format on
