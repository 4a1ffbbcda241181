#include "tests/unit/support/scene.hpp"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>

#include "app/command_line.hpp"
#include "app/scene_state.hpp"
#include "app/startup.hpp"
#include "figure/skeleton.hpp"
#include "tests/unit/support/gl_recorder.hpp"
#include "view/projection.hpp"

using namespace scena;

namespace scene {

void reset()
{
    Attenti();
    direzione = 0;
    left = bottom = -30;
    right = top = 30;
    proiez = 1;
    PuntoDiVista();
    reshape(650, 650);
    rec::stop();
    rec::redisplays = 0;
    rec::swaps = 0;
    rec::failGenLists = rec::failNewQuadric = false;
}

void pump()
{
    for (int i = 0; i < 20; ++i) glutMainLoopEvent();
}

Matrix modelview()
{
    Matrix m;
    glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
    return m;
}

Matrix projection()
{
    Matrix m;
    glGetFloatv(GL_PROJECTION_MATRIX, m.data());
    return m;
}

GLint integer(GLenum what)
{
    GLint v = 0;
    glGetIntegerv(what, &v);
    return v;
}

std::array<GLint, 4> viewport()
{
    std::array<GLint, 4> v{};
    glGetIntegerv(GL_VIEWPORT, v.data());
    return v;
}

std::array<float, 3> position()
{
    const Matrix m = modelview();
    return {m[12], m[13], m[14]};
}

std::vector<unsigned char> drawAndRead(int& width, int& height)
{
    width = glutGet(GLUT_WINDOW_WIDTH);
    height = glutGet(GLUT_WINDOW_HEIGHT);
    DisegnoScena();
    glFinish();
    std::vector<unsigned char> px(static_cast<size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, px.data());
    return px;
}

namespace {
std::vector<std::string> startup;
std::vector<ListCall> seen;
}  // namespace

const std::vector<std::string>& startupLog() { return startup; }

std::vector<ListCall> listCalls(void (*draw)())
{
    seen.clear();
    rec::beforeCallList = [](unsigned list) {
        seen.push_back({list, modelview(), integer(GL_MODELVIEW_STACK_DEPTH)});
    };
    draw();
    rec::beforeCallList = nullptr;
    return seen;
}

std::string helpText()
{
    std::FILE* f = std::tmpfile();
    char pavok[] = "pavok", help[] = "--help";
    char* argv[] = {pavok, help};
    EXPECT_TRUE(Aiuto(2, argv, f));
    std::string text(static_cast<size_t>(std::ftell(f)), '\0');
    std::rewind(f);
    EXPECT_EQ(std::fread(&text[0], 1, text.size(), f), text.size());
    std::fclose(f);
    return text;
}

std::array<int*, 25> angles()
{
    return {&gamsinx,    &gamsinz,    &gamdesx,    &gamdesz,    &ginsinx,    &gindesx,    &cavsinx,
            &cavdesx,    &panciax,    &panciay,    &panciaz,    &collox,     &colloy,     &colloz,
            &spallasinx, &spallasiny, &spallasinz, &spalladesx, &spalladesy, &spalladesz, &gomsinx,
            &gomdesx,    &polsosinz,  &polsodesz,  &direzione};
}

std::array<int, 25> angleValues()
{
    std::array<int, 25> v{};
    for (size_t i = 0; i < v.size(); ++i) v[i] = *angles()[i];
    return v;
}

std::array<float, 3> apply(const Matrix& m, float px, float py, float pz)
{
    std::array<float, 3> r{};
    for (int i = 0; i < 3; ++i) r[i] = m[i] * px + m[4 + i] * py + m[8 + i] * pz + m[12 + i];
    return r;
}

}  // namespace scene

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::GTEST_FLAG(death_test_style) = "threadsafe";
    if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();  // no window needed
    rec::start();  // the start-up calls stay in the log for the start-up test
    Avvio(&argc, argv);
    rec::stop();
    scene::startup = rec::calls();
    scene::pump();
    return RUN_ALL_TESTS();
}
