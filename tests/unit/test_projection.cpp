// Projection and viewport: reshape, narrowing through zero and widening back, switching projection.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "app/scene_state.hpp"
#include "tests/unit/support/gl_recorder.hpp"
#include "tests/unit/support/scene.hpp"
#include "view/projection.hpp"

using namespace scena;

namespace {

using Viewport = std::array<GLint, 4>;

scene::Matrix identity()
{
    scene::Matrix m{};
    m[0] = m[5] = m[10] = m[15] = 1;
    return m;
}

// Leaves a moved, turned figure on the modelview matrix, which reshape must not touch.
scene::Matrix movedFigure()
{
    glTranslatef(4, 0, 7);
    glRotatef(20, 0, 1, 0);
    return scene::modelview();
}

TEST(Projection, ReshapeSetsAViewportAsHighAsItIsWideAndTheFrustum)
{
    scene::reset();
    const scene::Matrix figure = movedFigure();
    rec::start();
    reshape(650, 650);
    rec::stop();
    EXPECT_EQ(rec::calls(), (std::vector<std::string>{
                                "glViewport(0, 0, 650, 650)", "glMatrixMode(5889)", "glLoadIdentity()",
                                "glFrustum(-30, 30, -30, 30, 20, 100000)", "glMatrixMode(5888)"}));
    EXPECT_EQ((std::array<int, 2>{x, y}), (std::array<int, 2>{60, 60}));
    EXPECT_EQ(ydivisox, 1.0f);

    const scene::Matrix p = scene::projection();
    // GL's frustum matrix for (-30, 30, -30, 30, 20, 100000), to float precision.
    const double frustum[16] = {
        40.0 / 60, 0, 0, 0, 0, 40.0 / 60, 0, 0, 0, 0, -100020.0 / 99980, -1, 0, 0, -4000000.0 / 99980, 0};
    for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(p[i], frustum[i]) << i;

    const struct {
        int w, h;
        Viewport expected;
    } sizes[] = {{800, 600, {0, 0, 800, 800}},
                 {600, 800, {0, 0, 600, 600}},
                 {650, 1, {0, 0, 650, 650}},
                 {650, 650, {0, 0, 650, 650}}};
    for (const auto& s : sizes) {
        reshape(s.w, s.h);
        EXPECT_EQ(scene::viewport(), s.expected) << s.w << " x " << s.h;
        EXPECT_EQ(scene::projection(), p) << s.w << " x " << s.h;  // the window's shape never changes it
        EXPECT_EQ(larghezza, s.w);
        EXPECT_EQ(altezza, s.h);
    }
    EXPECT_EQ(scene::modelview(), figure);
    EXPECT_EQ(scene::integer(GL_MATRIX_MODE), GL_MODELVIEW);
    EXPECT_EQ(rec::redisplays, 0);
}

TEST(Projection, NarrowingThroughZeroAndWideningBack)
{
    scene::reset();
    reshape(800, 600);  // the menu operations pass the last window size back
    const scene::Matrix figure = movedFigure();
    std::vector<scene::Matrix> proj = {scene::projection()};
    std::vector<Viewport> view = {scene::viewport()};
    for (int step = 1; step <= 7; ++step) {
        RestringiVisuale();
        EXPECT_EQ(rec::redisplays, step);
        const int r = 30 - 5 * step;
        EXPECT_EQ((std::array<int, 4>{left, right, bottom, top}), (std::array<int, 4>{-r, r, -r, r}));
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "step " << step;
        proj.push_back(scene::projection());
        view.push_back(scene::viewport());
    }
    EXPECT_FLOAT_EQ(proj[5][0], 4.0f);  // bounds -5..5: 2 near / 10
    EXPECT_EQ(view[5], (Viewport{0, 0, 800, 800}));
    // Bounds all 0: nothing to see, the identity stays, the viewport is 0 high.
    EXPECT_EQ(proj[6], identity());
    EXPECT_EQ(view[6], (Viewport{0, 0, 800, 0}));
    // Bounds 5, -5: a mirrored frustum, accepted by GL.
    EXPECT_EQ((std::array<int, 2>{x, y}), (std::array<int, 2>{-10, -10}));
    EXPECT_EQ(ydivisox, 1.0f);
    EXPECT_FLOAT_EQ(proj[7][0], -4.0f);
    EXPECT_FLOAT_EQ(proj[7][5], -4.0f);
    EXPECT_EQ(proj[7][11], -1.0f);
    EXPECT_EQ(view[7], (Viewport{0, 0, 800, 800}));

    for (int step = 6; step >= 0; --step) {
        AllargaVisuale();
        EXPECT_EQ(scene::projection(), proj[step]) << "back to step " << step;
        EXPECT_EQ(scene::viewport(), view[step]) << "back to step " << step;
    }
    EXPECT_EQ(rec::redisplays, 14);
    EXPECT_EQ(altezza, 600);
    EXPECT_EQ(scene::modelview(), figure);
}

TEST(Projection, SwitchesToTheBoxAndBack)
{
    scene::reset();
    const scene::Matrix figure = movedFigure();
    const scene::Matrix frustum = scene::projection();
    rec::start();
    CambiaProiezione();
    rec::stop();
    EXPECT_EQ(proiez, 0);
    EXPECT_EQ(rec::only("glOrtho"), (std::vector<std::string>{"glOrtho(-30, 30, -30, 30, 20, 100000)"}));
    EXPECT_EQ(rec::count("glFrustum"), 0);
    const double box[16] = {2.0 / 60,          0, 0, 0, 0, 2.0 / 60, 0, 0, 0, 0, -2.0 / 99980, 0, 0, 0,
                            -100020.0 / 99980, 1};
    for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(scene::projection()[i], box[i]) << i;
    EXPECT_EQ(scene::viewport(), (Viewport{0, 0, 650, 650}));

    CambiaProiezione();
    EXPECT_EQ(proiez, 1);
    EXPECT_EQ(scene::projection(), frustum);
    EXPECT_EQ(rec::redisplays, 2);
    EXPECT_EQ(scene::modelview(), figure);
    EXPECT_EQ(scene::integer(GL_MATRIX_MODE), GL_MODELVIEW);
}

}  // namespace
