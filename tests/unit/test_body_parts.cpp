// Body-part display lists: the commands compiled into each, and the stop when one cannot be built.
#include <GL/freeglut.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <set>
#include <string>
#include <vector>

#include "app/command_line.hpp"
#include "app/scene_state.hpp"
#include "figure/body_parts.hpp"
#include "tests/unit/support/gl_recorder.hpp"
#include "tests/unit/support/scene.hpp"

// Last: Xlib's macros (None, Bool...) would clash with gtest's names.
#include <GL/glx.h>

using namespace scena;

namespace {

// A call as the recorder writes it; the matrix calls take their arguments as floats.
std::string call(const char* name, std::initializer_list<double> args)
{
    std::string s = std::string(name) + "(";
    for (double a : args) {
        char b[32];
        std::snprintf(b, sizeof b, "%s%.9g", s.back() == '(' ? "" : ", ", a);
        s += b;
    }
    return s + ")";
}
std::string translate(float x, float y, float z) { return call("glTranslatef", {x, y, z}); }
std::string scale(float x, float y, float z) { return call("glScalef", {x, y, z}); }
std::string rotate(float a, float x, float y, float z) { return call("glRotatef", {a, x, y, z}); }
std::string sphere(double r, int slices, int stacks)
{
    return call("glutSolidSphere", {r, double(slices), double(stacks)});
}
std::string cone(double b, double h, int sl, int st)
{
    return call("glutSolidCone", {b, h, double(sl), double(st)});
}
std::string tube(double b, double t, double h, int sl, int st)
{
    return call("gluCylinder", {b, t, h, double(sl), double(st)});
}
const std::string push = "glPushMatrix()", pop = "glPopMatrix()", cube = "glutSolidCube(1)";
const std::string newQ = "gluNewQuadric()", delQ = "gluDeleteQuadric()";
const std::string down = rotate(90, 1, 0, 0), up = rotate(90, -1, 0, 0);

struct Part {
    const GLuint* handle;
    std::vector<std::string> commands;
};

// clang-format off
const std::vector<Part> parts = {
    {&piedeEcaviglia,     {push, sphere(0.3, 10, 10), translate(-0.75, -0.4, 0), scale(1.9, 0.35, 0.9), cube,
                           pop}},
    {&stincoEginocchio,   {push, sphere(0.5, 10, 10), newQ, translate(0, -0.3, 0), down,
                           tube(0.5, 0.25, 4.5, 20, 20), delQ, pop}},
    {&cosciaEgluteo,      {push, sphere(0.7, 20, 20), newQ, translate(0, -0.5, 0), down,
                           tube(0.7, 0.5, 4.0, 20, 20), delQ, pop}},
    {&colloEtesta,        {push, sphere(0.6, 10, 10), translate(0, 1.8, 0), scale(1, 1.4, 0.7),
                           sphere(1.0, 20, 20), translate(0, 0, 0.5), cone(0.3, 2.0, 20, 20), pop}},
    {&bacino,             {push, newQ, translate(0, -0.5, 0), up, tube(1.5, 1.6, 1.0, 20, 20), delQ,
                           pop}},
    {&panciaEtorace,      {push, sphere(1.5, 20, 20), newQ, translate(0, 0.5, 0), up,
                           tube(1.6, 2.0, 3.0, 20, 20), translate(0, 0, 3), cone(2.0, 0.5, 20, 20),
                           delQ, pop}},
    {&bicipideEspalla,    {push, sphere(0.6, 10, 10), newQ, translate(0, -0.5, 0), down,
                           tube(0.6, 0.5, 2.0, 20, 20), delQ, pop}},
    {&avambraccioEgomito, {push, sphere(0.5, 10, 10), newQ, translate(0, -0.4, 0), down,
                           tube(0.5, 0.4, 2.0, 20, 20), delQ, pop}},
    {&manoEpolso,         {push, sphere(0.4, 10, 10), translate(0, -1.05, 0), scale(0.3, 1.5, 1.0), cube,
                           pop}},
};
// clang-format on

TEST(BodyParts, CompilesTheNineListsInOrderWithTheirCommands)
{
    // From the start-up log: GL_MODELVIEW first, then per list glGenLists(1),
    // glNewList(handle, GL_COMPILE), its commands, glEndList().
    const auto& log = scene::startupLog();
    auto it = std::find(log.begin(), log.end(), "glGenLists(1)");
    ASSERT_NE(it, log.end());
    EXPECT_EQ(*(it - 1), "glMatrixMode(5888)");
    std::set<GLuint> names;
    for (const Part& part : parts) {
        ASSERT_NE(*part.handle, 0u);
        names.insert(*part.handle);
        EXPECT_TRUE(glIsList(*part.handle));
        ASSERT_LT(it + 1, log.end());
        EXPECT_EQ(*it++, "glGenLists(1)");
        EXPECT_EQ(*it++, call("glNewList", {double(*part.handle), GL_COMPILE}));
        std::vector<std::string> body;
        while (it != log.end() && *it != "glEndList()") body.push_back(*it++);
        EXPECT_EQ(body, part.commands) << "list " << *part.handle;
        if (it != log.end()) ++it;
    }
    EXPECT_EQ(names.size(), 9u);
    EXPECT_EQ(*it, "glutDisplayFunc()");  // the next start-up call: nothing else was built
    EXPECT_EQ(scene::integer(GL_MATRIX_MODE), GL_MODELVIEW);
}

bool failed(int status) { return WIFEXITED(status) && WEXITSTATUS(status) != 0; }

TEST(BodyPartsDeathTest, StopsWithAMessageWhenGLRefusesAListName)
{
    EXPECT_EXIT((rec::failGenLists = true, DefDisplayLists()), failed, "glGenLists");
    // It names the cause, the display and the renderer GL reports (here, its
    // first word). The tests' window is on $DISPLAY; in the stopping copy
    // DISPLAY names another, as it may for a program given -display, and so
    // does the command line: the display GL draws on counts over both.
    const std::string opened = std::getenv("DISPLAY");
    const std::string message = "no working OpenGL context could be had on display " + opened + " \\(";
    std::string renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    renderer = renderer.substr(0, renderer.find_first_of(" ("));
    char pavok[] = "pavok", option[] = "-display", other[] = ":4243";
    const auto elsewhere = [&] {
        setenv("DISPLAY", ":4242", 1);
        char* named[] = {pavok, option, other};
        RicordoSchermo(3, named);
        rec::failGenLists = true;
    };
    EXPECT_EXIT((elsewhere(), DefDisplayLists()), testing::ExitedWithCode(1),
                message + ".*renderer \"" + renderer);
    // With no context current GL tells neither: the display is the one the
    // command line named, the last -display as GLUT reads it.
    std::string name = opened;
    char* argv[] = {pavok, option, other, option, &name[0]};
    EXPECT_EXIT((elsewhere(), RicordoSchermo(5, argv), glXMakeCurrent(glXGetCurrentDisplay(), None, nullptr),
                 DefDisplayLists()),
                testing::ExitedWithCode(1),
                message + "glGenLists failed\\); GL reported no renderer or version");
}

TEST(BodyPartsDeathTest, StopsWithAMessageWhenGLURefusesAQuadric)
{
    EXPECT_EXIT((rec::failNewQuadric = true, DefDisplayLists()), failed, "gluNewQuadric");
}

}  // namespace
