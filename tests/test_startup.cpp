// Start-up: the order of the set-up calls, the render state, camera and light they leave, the first reshape.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <array>

#include "app/scene_state.hpp"
#include "tests/support/gl_recorder.hpp"
#include "tests/support/scene.hpp"

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

TEST(Startup, LeavesTheRenderState)
{
    EXPECT_EQ(floats4(GL_COLOR_CLEAR_VALUE), (std::array<GLfloat, 4>{0, 0, 0, 0}));
    EXPECT_EQ(floats4(GL_DEPTH_CLEAR_VALUE)[0], 1.0f);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
    EXPECT_FALSE(glIsEnabled(GL_NORMALIZE));
    // Left at GL's defaults: the program sets only what it needs.
    EXPECT_EQ(scene::integer(GL_DEPTH_FUNC), GL_LESS);
    EXPECT_EQ(scene::integer(GL_CULL_FACE_MODE), GL_BACK);
    EXPECT_EQ(scene::integer(GL_FRONT_FACE), GL_CCW);
    EXPECT_EQ(scene::integer(GL_SHADE_MODEL), GL_SMOOTH);
    EXPECT_EQ(scene::integer(GL_LIGHT_MODEL_LOCAL_VIEWER), GL_TRUE);
    EXPECT_EQ(scene::integer(GL_MATRIX_MODE), GL_MODELVIEW);
    EXPECT_EQ(scene::integer(GL_MODELVIEW_STACK_DEPTH), 1);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(Startup, PlacesTheCameraAndFixesTheLightInTheWorld)
{
    // Eye at (0, 0, 120) looking at the origin, +y up: a pure shift by -120 along z.
    scene::Matrix camera{};
    camera[0] = camera[5] = camera[10] = camera[15] = 1;
    camera[14] = -120;
    EXPECT_EQ(scene::modelview(), camera);

    // GL keeps the position in eye coordinates: the world point (0, 0, 200)
    // seen through the camera, and positional (w = 1).
    GLfloat pos[4], diffuse[4];
    glGetLightfv(GL_LIGHT0, GL_POSITION, pos);
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    const auto eye = scene::apply(scene::modelview(), LSPx, LSPy, LSPz);
    EXPECT_EQ((std::array<GLfloat, 4>{pos[0], pos[1], pos[2], pos[3]}), (std::array<GLfloat, 4>{eye[0], eye[1], eye[2], 1}));
    EXPECT_EQ(pos[2], 80.0f);
    EXPECT_EQ((std::array<GLfloat, 4>{diffuse[0], diffuse[1], diffuse[2], diffuse[3]}),
              (std::array<GLfloat, 4>{0.0f, 0.8f, 0.8f, 0.0f}));
}

TEST(Startup, StartsAtRestAndTheFirstReshapeSetsTheView)
{
    EXPECT_EQ(scene::angleValues(), (std::array<int, 25>{}));  // every joint and the heading

    // GLUT's first reshape, delivered by the event pump before any frame.
    EXPECT_EQ(larghezza, 650);
    EXPECT_EQ(altezza, 650);
    EXPECT_EQ(scene::viewport(), (std::array<GLint, 4>{0, 0, 650, 650}));
    EXPECT_FLOAT_EQ(scene::projection()[0], 40.0f / 60.0f);  // 2 near / (right - left)
    EXPECT_EQ(scene::projection()[11], -1.0f);               // a frustum, not a box
    EXPECT_EQ(glutGet(GLUT_WINDOW_WIDTH), 650);
    EXPECT_EQ(glutGet(GLUT_WINDOW_HEIGHT), 650);
    EXPECT_EQ(glutGet(GLUT_WINDOW_DOUBLEBUFFER), 1);
    EXPECT_GT(glutGet(GLUT_WINDOW_DEPTH_SIZE), 0);
}

}  // namespace
