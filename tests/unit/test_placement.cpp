// Placement: the exact steps along the heading, the turns and their remainders, where the figure ends up.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "app/scene_state.hpp"
#include "controls/special_keys.hpp"
#include "tests/unit/support/gl_recorder.hpp"
#include "tests/unit/support/scene.hpp"
#include "view/placement.hpp"

using namespace scena;

namespace {

void up() { specialkeyboard(GLUT_KEY_UP, 0, 0); }
void down() { specialkeyboard(GLUT_KEY_DOWN, 0, 0); }
void turnLeft() { specialkeyboard(GLUT_KEY_LEFT, 0, 0); }
void turnRight() { specialkeyboard(GLUT_KEY_RIGHT, 0, 0); }

TEST(Placement, StepsAlongTheHeadingWithTheProgramsFactor)
{
    const struct {
        int heading;
        void (*step)();
        float x, z;  // single-precision results of d sin(h 0.0174), d cos(h 0.0174)
    } cases[] = {
        {0, TraslaAvanti, 0, 15},
        {0, TraslaIndietro, 0, -15},
        {15, TraslaAvanti, 3.8707023f, 14.491986f},
        {15, TraslaIndietro, -3.8707023f, -14.491986f},
        {90, TraslaAvanti, 14.999827f, 0.071944624f},
        {345, TraslaAvanti, -4.148006f, 14.415063f},  // the same facing as -15, another step
        {-15, TraslaAvanti, -3.8707023f, 14.491986f},
        {-360, TraslaAvanti, 0.28776196f, 14.997239f},
        {3, up, 0.052176297f, 0.99863791f},
        {0, up, 0, 1},
        {0, down, 0, -1},
    };
    for (const auto& c : cases) {
        scene::reset();
        direzione = c.heading;
        glLoadIdentity();  // the step alone, read back without the camera's rounding
        c.step();
        scene::Matrix expected{};
        expected[0] = expected[5] = expected[10] = expected[15] = 1;
        expected[12] = c.x;
        expected[14] = c.z;
        EXPECT_EQ(scene::modelview(), expected) << "heading " << c.heading;
        EXPECT_EQ(rec::redisplays, 1) << "heading " << c.heading;
        EXPECT_EQ(direzione, c.heading);
    }
}

// The heading after each of n calls of turn, from start.
std::vector<int> turns(void (*turn)(), int start, int n)
{
    direzione = start;
    std::vector<int> seen;
    for (int i = 0; i < n; ++i) {
        turn();
        seen.push_back(direzione);
    }
    return seen;
}

TEST(Placement, TurnsAndTheirRemainders)
{
    scene::reset();
    glLoadIdentity();
    std::vector<int> left, right;
    for (int i = 1; i <= 24; ++i) {
        left.push_back(i < 24 ? 15 * i : 0);
        right.push_back(i < 24 ? -15 * i : 0);
    }
    EXPECT_EQ(turns(RuotaASinistra, 0, 24), left);
    EXPECT_EQ(turns(RuotaADestra, 0, 24), right);
    EXPECT_EQ(turns(RuotaADestra, -350, 1), std::vector<int>{-5});
    EXPECT_EQ(turns(RuotaASinistra, 345, 1), std::vector<int>{0});
    // Half turns take no remainder: they keep lowering the heading.
    EXPECT_EQ(turns(Ruota180, 0, 3), (std::vector<int>{-180, -360, -540}));
    EXPECT_EQ(turns(RuotaASinistra, -540, 1), std::vector<int>{-165});
    EXPECT_EQ(turns(turnLeft, -180, 1), std::vector<int>{-177});
    EXPECT_EQ(turns(turnRight, -180, 1), std::vector<int>{-183});
    EXPECT_EQ(turns(turnLeft, -360, 1), std::vector<int>{-357});
    EXPECT_EQ(turns(turnRight, -360, 1), std::vector<int>{-3});
    EXPECT_EQ(rec::redisplays, 24 + 24 + 1 + 1 + 3 + 1 + 4);        // one each
    EXPECT_EQ(scene::position(), (std::array<float, 3>{0, 0, 0}));  // turning never moves
}

TEST(Placement, MovesAddUpAlongTheWorldAxes)
{
    scene::reset();
    glLoadIdentity();
    TraslaAvanti();
    TraslaAvanti();
    EXPECT_EQ(scene::position(), (std::array<float, 3>{0, 0, 30}));

    scene::reset();
    glLoadIdentity();
    TraslaAvanti();
    Ruota180();
    TraslaAvanti();  // -180 steps at -179.45 degrees: not quite back
    const auto p = scene::position();
    EXPECT_NEAR(p[0], -0.1439f, 1e-4f);
    EXPECT_EQ(p[1], 0.0f);
    EXPECT_NEAR(p[2], 0.0007f, 1e-4f);

    scene::reset();
    glLoadIdentity();
    direzione = 15;
    TraslaAvanti();
    TraslaIndietro();
    for (float v : scene::position()) EXPECT_NEAR(v, 0.0f, 1e-5f);  // float rounding only
}

}  // namespace
