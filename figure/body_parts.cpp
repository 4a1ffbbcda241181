#include "figure/body_parts.hpp"

#include <GL/freeglut.h>
#include <GL/glu.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/scene_state.hpp"
#include "app/window_system.hpp"

using namespace scena;

namespace {

// One command of a body-part list, with the arguments as the shape's table
// gives them. Lengths stay double: GLU and GLUT take doubles, and only the
// matrix calls narrow them to float.
enum Op { End, Push, Pop, Sphere, Cube, Cone, Tube, Translate, Rotate, Scale, NewQuadric, DeleteQuadric };

struct Command {
    Op op;
    double a = 0, b = 0, c = 0, d = 0;  // radius/size/base, top/height, ..., or x, y, z / angle, x, y, z
    int slices = 0, stacks = 0;
};

constexpr Command sphere(double radius, int slices, int stacks)
{
    return {Sphere, radius, 0, 0, 0, slices, stacks};
}
constexpr Command cube(double size) { return {Cube, size}; }
constexpr Command cone(double base, double height, int slices, int stacks)
{
    return {Cone, base, height, 0, 0, slices, stacks};
}
constexpr Command tube(double base, double top, double height, int slices, int stacks)
{
    return {Tube, base, top, height, 0, slices, stacks};
}
constexpr Command translate(double x, double y, double z) { return {Translate, x, y, z}; }
constexpr Command rotate(double angle, double x, double y, double z) { return {Rotate, angle, x, y, z}; }
constexpr Command scale(double x, double y, double z) { return {Scale, x, y, z}; }
constexpr Command push{Push}, pop{Pop}, newQuadric{NewQuadric}, deleteQuadric{DeleteQuadric};

struct BodyPart {
    const char* name;
    GLuint* handle;
    Command commands[10];  // up to the first End
};

// clang-format off
// In order of creation. Limbs hang from their joint along -y; 90 about (1, 0, 0)
// turns a tube down, 90 about (-1, 0, 0) turns it up.
const BodyPart bodyParts[] = {
    {"piedeEcaviglia", &piedeEcaviglia,
     {push, sphere(0.3, 10, 10), translate(-0.75, -0.4, 0), scale(1.9, 0.35, 0.9), cube(1.0), pop}},
    {"stincoEginocchio", &stincoEginocchio,
     {push, sphere(0.5, 10, 10), newQuadric, translate(0, -0.3, 0), rotate(90, 1, 0, 0),
      tube(0.5, 0.25, 4.5, 20, 20), deleteQuadric, pop}},
    {"cosciaEgluteo", &cosciaEgluteo,
     {push, sphere(0.7, 20, 20), newQuadric, translate(0, -0.5, 0), rotate(90, 1, 0, 0),
      tube(0.7, 0.5, 4.0, 20, 20), deleteQuadric, pop}},
    {"colloEtesta", &colloEtesta,
     {push, sphere(0.6, 10, 10), translate(0, 1.8, 0), scale(1, 1.4, 0.7), sphere(1.0, 20, 20),
      translate(0, 0, 0.5), cone(0.3, 2.0, 20, 20), pop}},
    {"bacino", &bacino,
     {push, newQuadric, translate(0, -0.5, 0), rotate(90, -1, 0, 0), tube(1.5, 1.6, 1.0, 20, 20),
      deleteQuadric, pop}},
    {"panciaEtorace", &panciaEtorace,
     {push, sphere(1.5, 20, 20), newQuadric, translate(0, 0.5, 0), rotate(90, -1, 0, 0),
      tube(1.6, 2.0, 3.0, 20, 20), translate(0, 0, 3), cone(2.0, 0.5, 20, 20), deleteQuadric, pop}},
    {"bicipideEspalla", &bicipideEspalla,
     {push, sphere(0.6, 10, 10), newQuadric, translate(0, -0.5, 0), rotate(90, 1, 0, 0),
      tube(0.6, 0.5, 2.0, 20, 20), deleteQuadric, pop}},
    {"avambraccioEgomito", &avambraccioEgomito,
     {push, sphere(0.5, 10, 10), newQuadric, translate(0, -0.4, 0), rotate(90, 1, 0, 0),
      tube(0.5, 0.4, 2.0, 20, 20), deleteQuadric, pop}},
    {"manoEpolso", &manoEpolso,
     {push, sphere(0.4, 10, 10), translate(0, -1.05, 0), scale(0.3, 1.5, 1.0), cube(1.0), pop}},
};
// clang-format on

[[noreturn]] void Interrompi(const char* what, const char* part)
{
    std::fprintf(stderr, "pavok: %s failed while building %s\n", what, part);
    std::exit(EXIT_FAILURE);
}

// Issues the part's commands to GL: into its list while it is compiled, or
// straight to the frame for the benchmark's immediate-mode peer.
void Esegui(const BodyPart& part)
{
    GLUquadric* quadric = nullptr;  // lives only while the part is issued
    for (const Command& c : part.commands) {
        if (c.op == End) break;
        switch (c.op) {
        case Push: glPushMatrix(); break;
        case Pop: glPopMatrix(); break;
        case Sphere: glutSolidSphere(c.a, c.slices, c.stacks); break;
        case Cube: glutSolidCube(c.a); break;
        case Cone: glutSolidCone(c.a, c.b, c.slices, c.stacks); break;
        case Tube: gluCylinder(quadric, c.a, c.b, c.c, c.slices, c.stacks); break;
        case Translate: glTranslatef(GLfloat(c.a), GLfloat(c.b), GLfloat(c.c)); break;
        case Rotate: glRotatef(GLfloat(c.a), GLfloat(c.b), GLfloat(c.c), GLfloat(c.d)); break;
        case Scale: glScalef(GLfloat(c.a), GLfloat(c.b), GLfloat(c.c)); break;
        case NewQuadric:
            quadric = gluNewQuadric();
            if (quadric == nullptr) Interrompi("gluNewQuadric", part.name);
            break;
        case DeleteQuadric: gluDeleteQuadric(quadric); break;
        case End: break;
        }
    }
}

// The first list name is the first thing start-up asks of GL that a context
// which cannot draw refuses (indirect GLX where the driver has no indirect
// support, for one): say so, and what GL says it is, if anything. With no
// context current GL cannot say which display it is on, and $DISPLAY need not
// be the one: -display names another.
[[noreturn]] void SenzaContesto()
{
    std::string nome = SchermoCorrente();
    if (nome.empty()) nome = schermo;
    auto testo = [](GLenum name) {
        const auto* s = reinterpret_cast<const char*>(glGetString(name));
        return s != nullptr ? s : "";
    };
    const char* renderer = testo(GL_RENDERER);
    const char* version = testo(GL_VERSION);
    std::fprintf(stderr, "pavok: no working OpenGL context could be had on display %s (glGenLists failed); ",
                 nome.c_str());
    if (*renderer == '\0' && *version == '\0')
        std::fprintf(stderr, "GL reported no renderer or version\n");
    else
        std::fprintf(stderr, "GL reported renderer \"%s\", version \"%s\"\n", renderer, version);
    std::exit(EXIT_FAILURE);
}

void Compila(const BodyPart& part)
{
    *part.handle = glGenLists(1);
    if (*part.handle == 0) SenzaContesto();

    glNewList(*part.handle, GL_COMPILE);
    Esegui(part);
    glEndList();
}

}  // namespace

void DefDisplayLists()
{
    glMatrixMode(GL_MODELVIEW);
    for (const BodyPart& part : bodyParts) Compila(part);
}

void DisegnoParte(GLuint lista)
{
    for (const BodyPart& part : bodyParts)
        if (*part.handle == lista) return Esegui(part);
}
