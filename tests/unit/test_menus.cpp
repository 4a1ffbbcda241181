// The two pop-up menus: their entries and buttons, and what each value of their handlers does.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "app/scene_state.hpp"
#include "controls/menus.hpp"
#include "tests/unit/support/gl_recorder.hpp"
#include "tests/unit/support/scene.hpp"

using namespace scena;

namespace {

std::array<int, 5> view() { return {proiez, left, right, bottom, top}; }

// Everything a menu choice could change: some joints, the heading, the view
// settings, and the modelview, projection and viewport read back from GL.
auto now()
{
    return std::make_tuple(std::array<int, 4>{collox, gamsinx, ginsinx, spallasinz}, direzione, view(),
                           scene::modelview(), scene::projection(), scene::viewport());
}

class Menus : public ::testing::Test {
protected:
    void SetUp() override
    {
        scene::reset();
        glLoadIdentity();  // the modelview translation is then the figure's position
    }
};

TEST_F(Menus, BothMenusExistWithTheirEntries)
{
    // The start-up sequence test checks labels, values and buttons; here GLUT's own
    // state. freeglut numbers menus in creation order, and the last one built stays current.
    const int viewMenu = glutGetMenu();
    EXPECT_EQ(glutGet(GLUT_MENU_NUM_ITEMS), 8);
    glutSetMenu(viewMenu - 1);
    EXPECT_EQ(glutGet(GLUT_MENU_NUM_ITEMS), 3);
    glutSetMenu(viewMenu);
}

TEST_F(Menus, AnimationValuesPlayTheirAnimation)
{
    // Frames tell the three apart; the end pose and distance confirm which ran.
    // Each leaves the matrix stack and mode as it found them.
    const struct {
        int value;
        int frames;
        float z;
        int ginsinx;
    } cases[] = {{1, 115, 0.0f, 0}, {2, 108, 71.011f, 2}, {3, 168, 28.719f, 0}};
    for (const auto& c : cases) {
        scene::reset();
        glLoadIdentity();
        const GLint depth = scene::integer(GL_MODELVIEW_STACK_DEPTH);
        Animazioni(c.value);
        EXPECT_EQ(rec::swaps, c.frames) << c.value;
        EXPECT_EQ(rec::redisplays, 0) << c.value;
        EXPECT_EQ(scene::integer(GL_MODELVIEW_STACK_DEPTH), depth) << c.value;
        EXPECT_EQ(scene::integer(GL_MATRIX_MODE), GL_MODELVIEW) << c.value;
        EXPECT_NEAR(scene::position()[2], c.z, 1e-3) << c.value;  // distances given to three decimals
        EXPECT_EQ(ginsinx, c.ginsinx) << c.value;
    }
}

TEST_F(Menus, ValuesWithoutAnEntryDoNothing)
{
    collox = 6, gamsinx = 9, direzione = 30;
    Visuale(2);
    rec::redisplays = 0;
    const auto before = now();
    rec::start();
    for (int v : {0, 4, -1}) Animazioni(v);
    for (int v : {0, 9, -3}) Visuale(v);
    rec::stop();
    EXPECT_TRUE(rec::calls().empty()) << rec::calls().front();
    EXPECT_EQ(rec::swaps, 0);
    EXPECT_EQ(rec::redisplays, 0);
    EXPECT_TRUE(now() == before);
}

TEST_F(Menus, ViewValuesEachDoTheirOperationAndPostOneRedisplay)
{
    const struct {
        int value;
        float z;  // position along z afterwards
        int heading;
        int bound;  // right (and -left, top, -bottom) afterwards
        int proiez;
    } cases[] = {
        {1, -15, 0, 30, 1},  {2, 15, 0, 30, 1}, {3, 0, -15, 30, 1}, {4, 0, 15, 30, 1},
        {5, 0, -180, 30, 1}, {6, 0, 0, 35, 1},  {7, 0, 0, 25, 1},   {8, 0, 0, 30, 0},
    };
    for (const auto& c : cases) {
        scene::reset();
        glLoadIdentity();
        Visuale(c.value);
        EXPECT_EQ(rec::redisplays, 1) << c.value;
        EXPECT_EQ(rec::swaps, 0) << c.value << " draws nothing itself";
        EXPECT_EQ(scene::position()[2], c.z) << c.value;
        EXPECT_EQ(scene::position()[0], 0.0f) << c.value;
        EXPECT_EQ(direzione, c.heading) << c.value;
        EXPECT_EQ(view(), (std::array<int, 5>{c.proiez, -c.bound, c.bound, -c.bound, c.bound})) << c.value;
        // The projection follows the view settings: 2n / (r - l) for the frustum,
        // 2 / (r - l) for the box (tolerance 1e-6, single-precision matrices).
        const float scale = (c.proiez == 1 ? 40.0f : 2.0f) / (2 * c.bound);
        EXPECT_NEAR(scene::projection()[0], scale, 1e-6) << c.value;
        EXPECT_EQ(scene::projection()[15], c.proiez == 1 ? 0.0f : 1.0f) << c.value;
    }
}

TEST_F(Menus, AnimationsStartWhereTheFigureStandsAndFaces)
{
    // Tolerance 2e-3: the run's 71.011 is given to three decimals.
    Visuale(2);  // 15 forward
    Visuale(4);
    Visuale(4);  // heading 30
    collox = 6;
    rec::redisplays = 0;
    rec::start();
    Animazioni(2);
    rec::stop();
    EXPECT_EQ(static_cast<int>(rec::only("glRotatef(30, 0, 1, 0)").size()), 108)
        << "every frame at heading 30";
    const double a = 30 * 0.0174;
    auto p = scene::position();
    EXPECT_NEAR(p[0], 71.011 * std::sin(a), 2e-3);
    EXPECT_NEAR(p[2], 15 + 71.011 * std::cos(a), 2e-3);
    EXPECT_EQ(direzione, 30);
    EXPECT_EQ(collox, 6) << "the run keeps the head as posed";

    Animazioni(1);  // the jump goes straight up and down where the run ended
    EXPECT_EQ(scene::position()[0], p[0]);
    EXPECT_EQ(scene::position()[2], p[2]);
    EXPECT_EQ(rec::redisplays, 0);
}

}  // namespace
