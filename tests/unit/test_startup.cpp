// Start-up: the order of the set-up calls, the render state, camera and light they leave, the first reshape.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "app/scene_state.hpp"
#include "tests/unit/support/gl_recorder.hpp"
#include "tests/unit/support/scene.hpp"

using namespace scena;

namespace {

std::vector<std::string> withoutListBodies(const std::vector<std::string>& all)
{
    // Keep the start-up sequence itself; the list contents have tests of their own.
    std::vector<std::string> r;
    bool inList = false;
    for (const auto& c : all) {
        if (c.rfind("glNewList(", 0) == 0) inList = true;
        if (!inList && c.rfind("glGenLists(", 0) != 0) r.push_back(c);
        if (c == "glEndList()") inList = false;
    }
    return r;
}

TEST(Startup, CallsTheSetUpInOrder)
{
    const auto seq = withoutListBodies(scene::startupLog());
    const std::vector<std::string> expected = {
        "glutInit(1)",
        "glutInitDisplayMode(18)",
        "glutInitWindowSize(650, 650)",
        "glutInitWindowPosition(0, 0)",
        "glutCreateWindow(Pavok)",
        "glClearColor(0, 0, 0, 0)",
        "glClearDepth(1)",
        "glEnable(2929)",  // GL_DEPTH_TEST
        "glEnable(2884)",  // GL_CULL_FACE
        "glMatrixMode(5888)",
        "glLoadIdentity()",
        "gluLookAt(0, 0, 120, 0, 0, 0, 0, 1, 0)",
        "glShadeModel(7425)",
        "glEnable(2896)",  // GL_LIGHTING
        "glLightModeli(2897, 1)",
        "glLightfv(16384, 4611, 0, 0, 200, 1)",
        "glLightfv(16384, 4609, 0, 0.800000012, 0.800000012, 0)",
        "glEnable(16384)",
        "glMatrixMode(5888)",  // the lists select the modelview matrix again
        "glutDisplayFunc()",
        "glutReshapeFunc()",
        "glutKeyboardFunc()",
        "glutSpecialFunc()",
        "glutCreateMenu()",
        "glutAddMenuEntry(Salta, 1)",
        "glutAddMenuEntry(Corri, 2)",
        "glutAddMenuEntry(Cammina, 3)",
        "glutAttachMenu(0)",
        "glutCreateMenu()",
        "glutAddMenuEntry(Trasla indietro, 1)",
        "glutAddMenuEntry(Trasla avanti, 2)",
        "glutAddMenuEntry(Ruota a destra, 3)",
        "glutAddMenuEntry(Ruota a sinistra, 4)",
        "glutAddMenuEntry(Ruota di 180 gradi, 5)",
        "glutAddMenuEntry(Allarga visuale, 6)",
        "glutAddMenuEntry(Restringi visuale, 7)",
        "glutAddMenuEntry(Cambia proiezione, 8)",
        "glutAttachMenu(2)",
    };
    EXPECT_EQ(seq, expected);
    // Start-up itself sets no viewport or projection: the first reshape does.
    for (const auto& c : scene::startupLog()) {
        EXPECT_NE(c.rfind("glViewport", 0), 0u) << c;
        EXPECT_NE(c.rfind("glFrustum", 0), 0u) << c;
    }
}

std::array<GLfloat, 4> floats4(GLenum what)
{
    std::array<GLfloat, 4> v{};
    glGetFloatv(what, v.data());
    return v;
}

TEST(Startup, LeavesTheRenderStateCameraAndLight)
{
    EXPECT_EQ(floats4(GL_COLOR_CLEAR_VALUE), (std::array<GLfloat, 4>{0, 0, 0, 0}));
    EXPECT_EQ(floats4(GL_DEPTH_CLEAR_VALUE)[0], 1.0f);
    for (GLenum cap : {GL_DEPTH_TEST, GL_CULL_FACE, GL_LIGHTING, GL_LIGHT0})
        EXPECT_TRUE(glIsEnabled(cap)) << cap;
    EXPECT_EQ(scene::integer(GL_SHADE_MODEL), GL_SMOOTH);
    EXPECT_EQ(scene::integer(GL_LIGHT_MODEL_LOCAL_VIEWER), GL_TRUE);
    EXPECT_EQ(scene::integer(GL_MATRIX_MODE), GL_MODELVIEW);

    // Eye at (0, 0, 120) looking at the origin, +y up: a pure shift by -120 along z.
    scene::Matrix camera{};
    camera[0] = camera[5] = camera[10] = camera[15] = 1;
    camera[14] = -120;
    EXPECT_EQ(scene::modelview(), camera);

    // GL keeps the light in eye coordinates: given after the camera, it is the
    // world point (0, 0, 200) seen through it, positional (w = 1).
    std::array<GLfloat, 4> position{}, diffuse{};
    glGetLightfv(GL_LIGHT0, GL_POSITION, position.data());
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse.data());
    EXPECT_EQ(position, (std::array<GLfloat, 4>{0, 0, 80, 1}));
    EXPECT_EQ(diffuse, (std::array<GLfloat, 4>{0.0f, 0.8f, 0.8f, 0.0f}));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(Startup, StartsAtRestAndTheFirstReshapeSetsTheView)
{
    EXPECT_EQ(scene::angleValues(), (std::array<int, 25>{}));  // every joint and the heading
    // GLUT's first reshape, delivered by the event pump before any frame.
    EXPECT_EQ(larghezza, 650);
    EXPECT_EQ(altezza, 650);
    EXPECT_EQ(scene::viewport(), (std::array<GLint, 4>{0, 0, 650, 650}));
    EXPECT_EQ(scene::projection()[11], -1.0f);  // a frustum
}

}  // namespace
