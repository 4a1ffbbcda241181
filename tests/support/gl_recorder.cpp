#include "tests/support/gl_recorder.hpp"

#include <GL/freeglut.h>
#include <GL/glu.h>

#include <cstdio>

namespace rec {

namespace {
bool on = false;
std::vector<std::string> log;

std::string num(double v)
{
    char b[64];
    std::snprintf(b, sizeof b, "%.9g", v);
    return b;
}

template <typename... A>
void add(const char* name, A... args)
{
    if (!on) return;
    std::string s = std::string(name) + "(";
    bool first = true;
    ((s += (first ? "" : ", ") + num(static_cast<double>(args)), first = false), ...);
    log.push_back(s + ")");
}
}  // namespace

int redisplays = 0;
int swaps = 0;
bool failGenLists = false;
bool failNewQuadric = false;
void (*beforeCallList)(unsigned) = nullptr;

void start()
{
    log.clear();
    on = true;
}
void stop() { on = false; }
const std::vector<std::string>& calls() { return log; }

std::vector<std::string> only(const std::string& prefix)
{
    std::vector<std::string> r;
    for (const auto& c : log)
        if (c.compare(0, prefix.size(), prefix) == 0) r.push_back(c);
    return r;
}

int count(const std::string& name)
{
    int n = 0;
    for (const auto& c : log)
        if (c.compare(0, name.size() + 1, name + "(") == 0) ++n;
    return n;
}

}  // namespace rec

using rec::add;

extern "C" {
// clang-format off
#define REAL(ret, name, params) ret __real_##name params;
REAL(void, glPushMatrix, (void))
REAL(void, glPopMatrix, (void))
REAL(void, glTranslatef, (GLfloat, GLfloat, GLfloat))
REAL(void, glRotatef, (GLfloat, GLfloat, GLfloat, GLfloat))
REAL(void, glScalef, (GLfloat, GLfloat, GLfloat))
REAL(void, glCallList, (GLuint))
REAL(void, glClear, (GLbitfield))
REAL(void, glMatrixMode, (GLenum))
REAL(void, glLoadIdentity, (void))
REAL(void, glViewport, (GLint, GLint, GLsizei, GLsizei))
REAL(void, glFrustum, (GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble))
REAL(void, glOrtho, (GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble))
REAL(GLuint, glGenLists, (GLsizei))
REAL(void, glNewList, (GLuint, GLenum))
REAL(void, glEndList, (void))
REAL(void, glColor3f, (GLfloat, GLfloat, GLfloat))
REAL(void, glClearColor, (GLfloat, GLfloat, GLfloat, GLfloat))
REAL(void, glClearDepth, (GLdouble))
REAL(void, glEnable, (GLenum))
REAL(void, glShadeModel, (GLenum))
REAL(void, glLightModeli, (GLenum, GLint))
REAL(void, glLightfv, (GLenum, GLenum, const GLfloat*))
REAL(void, gluLookAt, (GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble))
REAL(GLUquadric*, gluNewQuadric, (void))
REAL(void, gluDeleteQuadric, (GLUquadric*))
REAL(void, gluCylinder, (GLUquadric*, GLdouble, GLdouble, GLdouble, GLint, GLint))
REAL(void, glutSolidSphere, (double, GLint, GLint))
REAL(void, glutSolidCube, (double))
REAL(void, glutSolidCone, (double, double, GLint, GLint))
REAL(void, glutSwapBuffers, (void))
REAL(void, glutPostRedisplay, (void))
REAL(void, glutInit, (int*, char**))
REAL(void, glutInitDisplayMode, (unsigned int))
REAL(void, glutInitWindowSize, (int, int))
REAL(void, glutInitWindowPosition, (int, int))
REAL(int, glutCreateWindow, (const char*))
REAL(void, glutDisplayFunc, (void (*)(void)))
REAL(void, glutReshapeFunc, (void (*)(int, int)))
REAL(void, glutKeyboardFunc, (void (*)(unsigned char, int, int)))
REAL(void, glutSpecialFunc, (void (*)(int, int, int)))
REAL(int, glutCreateMenu, (void (*)(int)))
REAL(void, glutAddMenuEntry, (const char*, int))
REAL(void, glutAttachMenu, (int))
#undef REAL

void __wrap_glPushMatrix(void) { add("glPushMatrix"); __real_glPushMatrix(); }
void __wrap_glPopMatrix(void) { add("glPopMatrix"); __real_glPopMatrix(); }
void __wrap_glTranslatef(GLfloat x, GLfloat y, GLfloat z) { add("glTranslatef", x, y, z); __real_glTranslatef(x, y, z); }
void __wrap_glRotatef(GLfloat a, GLfloat x, GLfloat y, GLfloat z) { add("glRotatef", a, x, y, z); __real_glRotatef(a, x, y, z); }
void __wrap_glScalef(GLfloat x, GLfloat y, GLfloat z) { add("glScalef", x, y, z); __real_glScalef(x, y, z); }
void __wrap_glCallList(GLuint l) { add("glCallList", l); if (rec::beforeCallList) rec::beforeCallList(l); __real_glCallList(l); }
void __wrap_glClear(GLbitfield m) { add("glClear", m); __real_glClear(m); }
void __wrap_glMatrixMode(GLenum m) { add("glMatrixMode", m); __real_glMatrixMode(m); }
void __wrap_glLoadIdentity(void) { add("glLoadIdentity"); __real_glLoadIdentity(); }
void __wrap_glViewport(GLint x, GLint y, GLsizei w, GLsizei h) { add("glViewport", x, y, w, h); __real_glViewport(x, y, w, h); }
void __wrap_glFrustum(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) { add("glFrustum", l, r, b, t, n, f); __real_glFrustum(l, r, b, t, n, f); }
void __wrap_glOrtho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) { add("glOrtho", l, r, b, t, n, f); __real_glOrtho(l, r, b, t, n, f); }
GLuint __wrap_glGenLists(GLsizei n) { add("glGenLists", n); return rec::failGenLists ? 0 : __real_glGenLists(n); }
void __wrap_glNewList(GLuint l, GLenum m) { add("glNewList", l, m); __real_glNewList(l, m); }
void __wrap_glEndList(void) { add("glEndList"); __real_glEndList(); }
void __wrap_glColor3f(GLfloat r, GLfloat g, GLfloat b) { add("glColor3f", r, g, b); __real_glColor3f(r, g, b); }
void __wrap_glClearColor(GLfloat r, GLfloat g, GLfloat b, GLfloat a) { add("glClearColor", r, g, b, a); __real_glClearColor(r, g, b, a); }
void __wrap_glClearDepth(GLdouble d) { add("glClearDepth", d); __real_glClearDepth(d); }
void __wrap_glEnable(GLenum c) { add("glEnable", c); __real_glEnable(c); }
void __wrap_glShadeModel(GLenum m) { add("glShadeModel", m); __real_glShadeModel(m); }
void __wrap_glLightModeli(GLenum p, GLint v) { add("glLightModeli", p, v); __real_glLightModeli(p, v); }
void __wrap_glLightfv(GLenum l, GLenum p, const GLfloat* v) { add("glLightfv", l, p, v[0], v[1], v[2], v[3]); __real_glLightfv(l, p, v); }
void __wrap_gluLookAt(GLdouble a, GLdouble b, GLdouble c, GLdouble d, GLdouble e, GLdouble f, GLdouble g, GLdouble h, GLdouble i) { add("gluLookAt", a, b, c, d, e, f, g, h, i); __real_gluLookAt(a, b, c, d, e, f, g, h, i); }
GLUquadric* __wrap_gluNewQuadric(void) { add("gluNewQuadric"); return rec::failNewQuadric ? nullptr : __real_gluNewQuadric(); }
void __wrap_gluDeleteQuadric(GLUquadric* q) { add("gluDeleteQuadric"); __real_gluDeleteQuadric(q); }
void __wrap_gluCylinder(GLUquadric* q, GLdouble b, GLdouble t, GLdouble h, GLint s, GLint k) { add("gluCylinder", b, t, h, s, k); __real_gluCylinder(q, b, t, h, s, k); }
void __wrap_glutSolidSphere(double r, GLint s, GLint k) { add("glutSolidSphere", r, s, k); __real_glutSolidSphere(r, s, k); }
void __wrap_glutSolidCube(double s) { add("glutSolidCube", s); __real_glutSolidCube(s); }
void __wrap_glutSolidCone(double b, double h, GLint s, GLint k) { add("glutSolidCone", b, h, s, k); __real_glutSolidCone(b, h, s, k); }
void __wrap_glutSwapBuffers(void) { ++rec::swaps; add("glutSwapBuffers"); __real_glutSwapBuffers(); }
void __wrap_glutPostRedisplay(void) { ++rec::redisplays; add("glutPostRedisplay"); __real_glutPostRedisplay(); }
void __wrap_glutInit(int* argc, char** argv) { add("glutInit", *argc); __real_glutInit(argc, argv); }
void __wrap_glutInitDisplayMode(unsigned int m) { add("glutInitDisplayMode", m); __real_glutInitDisplayMode(m); }
void __wrap_glutInitWindowSize(int w, int h) { add("glutInitWindowSize", w, h); __real_glutInitWindowSize(w, h); }
void __wrap_glutInitWindowPosition(int x, int y) { add("glutInitWindowPosition", x, y); __real_glutInitWindowPosition(x, y); }
int __wrap_glutCreateWindow(const char* t) { if (rec::on) rec::log.push_back(std::string("glutCreateWindow(") + t + ")"); return __real_glutCreateWindow(t); }
void __wrap_glutDisplayFunc(void (*f)(void)) { add("glutDisplayFunc"); __real_glutDisplayFunc(f); }
void __wrap_glutReshapeFunc(void (*f)(int, int)) { add("glutReshapeFunc"); __real_glutReshapeFunc(f); }
void __wrap_glutKeyboardFunc(void (*f)(unsigned char, int, int)) { add("glutKeyboardFunc"); __real_glutKeyboardFunc(f); }
void __wrap_glutSpecialFunc(void (*f)(int, int, int)) { add("glutSpecialFunc"); __real_glutSpecialFunc(f); }
int __wrap_glutCreateMenu(void (*f)(int)) { add("glutCreateMenu"); return __real_glutCreateMenu(f); }
void __wrap_glutAddMenuEntry(const char* l, int v) { if (rec::on) rec::log.push_back(std::string("glutAddMenuEntry(") + l + ", " + std::to_string(v) + ")"); __real_glutAddMenuEntry(l, v); }
void __wrap_glutAttachMenu(int b) { add("glutAttachMenu", b); __real_glutAttachMenu(b); }
// clang-format on
}
