// Start-up: the order of the set-up calls and the render state they leave.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

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
    const auto seq = withoutListBodies(rec::calls());
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
    EXPECT_EQ(rec::count("glViewport"), 0);
    EXPECT_EQ(rec::count("glFrustum"), 0);
}

}  // namespace
