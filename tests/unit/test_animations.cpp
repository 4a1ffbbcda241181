// The jump, the run and the walk: their frames, poses and moves, and where they leave the figure.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "animation/jump.hpp"
#include "animation/run.hpp"
#include "animation/walk.hpp"
#include "app/scene_state.hpp"
#include "tests/unit/support/gl_recorder.hpp"
#include "tests/unit/support/scene.hpp"
#include "view/placement.hpp"

using namespace scena;

namespace {

// The 27 rotations of one frame in drawing order; "piede" is a foot's fixed 90-degree turn.
// clang-format off
const char* const kRotations[] = {
    "direzione",
    "panciax", "panciay", "panciaz", "collox", "colloy", "colloz",
    "spalladesx", "spalladesy", "spalladesz", "gomdesx", "polsodesz",
    "spallasinx", "spallasiny", "spallasinz", "gomsinx", "polsosinz",
    "gamsinx", "gamsinz", "ginsinx", "cavsinx", "piede",
    "gamdesx", "gamdesz", "gindesx", "cavdesx", "piede"};
// clang-format on
constexpr int kSlots = 27;

using Vec = std::array<float, 3>;

// One display call as the recorder saw it: the joint angles it drew with, and
// the translations made since the previous frame, before its clears.
struct Frame {
    std::vector<float> angles;
    std::vector<Vec> moves;

    float angle(const std::string& name) const
    {
        for (int i = 0; i < kSlots; ++i)
            if (name == kRotations[i]) return angles.at(i);
        ADD_FAILURE() << "no joint " << name;
        return NAN;
    }
};

std::vector<Frame> framesOf(const std::vector<std::string>& log)
{
    std::vector<Frame> frames(1);
    bool cleared = false;
    for (const auto& c : log) {
        Vec v{};
        float a = 0;
        if (c == "glutSwapBuffers()") {
            frames.emplace_back();
            cleared = false;
        } else if (c.rfind("glClear(", 0) == 0) {
            cleared = true;
        } else if (std::sscanf(c.c_str(), "glRotatef(%f,", &a) == 1) {
            frames.back().angles.push_back(a);
        } else if (!cleared && std::sscanf(c.c_str(), "glTranslatef(%f, %f, %f)", &v[0], &v[1], &v[2]) == 3) {
            frames.back().moves.push_back(v);
        }
    }
    frames.pop_back();  // nothing follows the last swap
    return frames;
}

// Plays an animation with the recorder on; every frame must have been a whole one.
std::vector<Frame> play(void (*animation)())
{
    rec::start();
    animation();
    rec::stop();
    auto frames = framesOf(rec::calls());
    for (const Frame& f : frames) EXPECT_EQ(f.angles.size(), static_cast<size_t>(kSlots));
    return frames;
}

// Checks the named joints as drawn in the given 1-based frames.
using Row = std::vector<int>;  // a frame number, then one value per name
void expectRows(const std::vector<Frame>& f, const std::vector<const char*>& names,
                const std::vector<Row>& rows)
{
    for (const Row& r : rows)
        for (size_t j = 0; j < names.size(); ++j)
            EXPECT_EQ(f.at(r[0] - 1).angle(names[j]), r[j + 1]) << names[j] << " at frame " << r[0];
}

// Checks every rotation of one frame: the named joints, the heading, the feet's
// fixed turns, and 0 for all the rest.
void expectOnly(const Frame& f, std::initializer_list<std::pair<const char*, int>> named)
{
    for (int i = 0; i < kSlots; ++i) {
        const std::string slot = kRotations[i];
        float want = slot == "piede" ? 90.0f : slot == "direzione" ? static_cast<float>(direzione) : 0.0f;
        for (const auto& n : named)
            if (slot == n.first) want = static_cast<float>(n.second);
        EXPECT_EQ(f.angles.at(i), want) << slot;
    }
}

class Animations : public ::testing::Test {
protected:
    void SetUp() override
    {
        scene::reset();
        glLoadIdentity();
    }
};

TEST_F(Animations, JumpStraightensFirstThenPlaysItsPhases)
{
    collox = 12, spallasinx = 30, polsodesz = -9, gamdesz = 6, ginsinx = 45;  // a pose from the keyboard
    direzione = 37;
    const auto f = play(Salta);
    ASSERT_EQ(f.size(), 115u);

    // clang-format off
    expectOnly(f[0], {{"gamsinx", -2}, {"gamdesx", -2}, {"ginsinx", 4}, {"gindesx", 4}, {"cavsinx", -2}, {"cavdesx", -2}});
    expectRows(f, {"gamsinx", "gamdesx", "ginsinx", "gindesx", "cavsinx", "cavdesx", "spallasinz", "spalladesz"}, {
        {20,  -40, -40, 80, 80, -40, -40,   0,    0},
        {30,    0,   0,  0,  0,   0,   0,  90,  -90},
        {40,    0,   0,  0,  0,  30,  30, 180, -180},
        {50,    0,   0,  0,  0,  60,  60, 180, -180},
        {95,    0,   0,  0,  0,  60,  60, 180, -180},
        {115,   0,   0,  0,  0,   0,   0,   0,    0}});
    // clang-format on
    for (const Frame& fr : f) EXPECT_EQ(fr.angle("direzione"), 37.0f);
    expectOnly(f.back(), {});  // all straight again, still at heading 37
}

TEST_F(Animations, JumpRisesElevenOnDoubleProfilesAndComesBackDown)
{
    direzione = 37;
    const auto f = play(Salta);
    ASSERT_EQ(f.size(), 115u);

    // Heights summed in single precision as GL does, so a tolerance of 1e-6 for
    // the 30 profile steps and 1e-5 once the 0.3 and 0.2 steps add up.
    std::vector<float> height;
    float h = 0;
    int moves = 0;
    for (size_t k = 1; k <= f.size(); ++k) {
        const auto& m = f[k - 1].moves;
        const bool hover = k >= 71 && k <= 75;
        EXPECT_EQ(m.size(), hover ? 0u : 1u) << "frame " << k;
        for (const Vec& v : m) {
            EXPECT_EQ(v[0], 0.0f);
            EXPECT_EQ(v[2], 0.0f);
            h += v[1];
            ++moves;
        }
        height.push_back(h);
    }
    EXPECT_EQ(moves, 110);
    const struct {
        size_t frame;
        float height, tolerance;
    } ends[] = {{20, -2.2919349f, 1e-6f}, {30, 0, 1e-6f},  {40, 3, 1e-5f}, {50, 6, 1e-5f}, {60, 9, 1e-5f},
                {70, 11, 1e-5f},          {75, 11, 1e-5f}, {85, 9, 1e-5f}, {95, 6, 1e-5f}};
    for (const auto& e : ends) EXPECT_NEAR(height[e.frame - 1], e.height, e.tolerance) << e.frame;

    const Vec end = scene::position();
    EXPECT_EQ(end[0], 0.0f);
    EXPECT_EQ(end[2], 0.0f);
    EXPECT_NEAR(end[1], 0.0f, 1e-6);
    Salta();  // a second jump adds no visible drift
    EXPECT_NEAR(scene::position()[1], 0.0f, 1e-6);

    // The profile steps, to the decimals given, then exactly as the double formulas
    // narrowed once: crouch dy = -(cos((i-1)*0.0349) - cos(i*0.0349)) * 9.8, i = k;
    // push-off dy = (cos((i-1)*0.0698) - cos(i*0.0698)) * 9.8, i = 11 - k.
    EXPECT_NEAR(f[0].moves.at(0)[1], -0.005968, 1e-6);
    EXPECT_NEAR(f[19].moves.at(0)[1], -0.215195, 1e-6);
    EXPECT_NEAR(f[20].moves.at(0)[1], 0.420984, 1e-6);
    EXPECT_NEAR(f[29].moves.at(0)[1], 0.023863, 1e-6);
    for (int k = 1; k <= 20; ++k)
        EXPECT_EQ(f[k - 1].moves.at(0)[1],
                  static_cast<float>(-(std::cos((k - 1) * 0.0349) - std::cos(k * 0.0349)) * 9.8))
            << k;
    for (int k = 1; k <= 10; ++k) {
        const int i = 11 - k;
        EXPECT_EQ(f[19 + k].moves.at(0)[1],
                  static_cast<float>((std::cos((i - 1) * 0.0698) - std::cos(i * 0.0698)) * 9.8))
            << k;
    }
}

TEST_F(Animations, RunSetsOnlyItsJointsAndEndsWithTheLeftKneeBent)
{
    collox = 9, cavsinx = -6, gamsinz = 3, polsosinz = 12, panciax = 15, gindesx = 30;
    const auto f = play(Corri);
    ASSERT_EQ(f.size(), 108u);

    EXPECT_TRUE(f[0].moves.empty()) << "frame 0 is drawn where the figure stood";
    // Frame numbers are display calls, one more than the run's own frame numbers.
    // clang-format off
    expectRows(f, {"spalladesx", "spallasinx", "gomdesx", "gomsinx", "panciax", "gamdesx", "gindesx", "gamsinx", "ginsinx"}, {
        {1,     2,  -2,  -6,  -6, 0,  -2,  0,   2,  6},
        {8,    30, -30, -90, -90, 0, -30,  0,  30, 62},  // left leg back
        {23,  -30,  30, -90, -90, 0,  30, 60, -30,  2},  // right leg back
        {38,   30, -30, -90, -90, 0, -30,  0,  30, 62},
        {83,  -30,  30, -90, -90, 0,  30, 60, -30,  2},
        {98,   30, -30, -90, -90, 0, -30,  0,  30, 62},
        {108,   0,   0,   0,   0, 0,   0,  0,   0,  2}});
    // clang-format on
    for (int k = 1; k <= 108; ++k)  // joints the run does not write stay as posed
        expectRows(f, {"collox", "cavsinx", "gamsinz", "polsosinz"}, {{k, 9, -6, 3, 12}});
    EXPECT_EQ(ginsinx, 2);
    EXPECT_EQ(collox, 9);

    const auto again = play(Corri);
    ASSERT_EQ(again.size(), 108u);
    EXPECT_EQ(again[0].angle("ginsinx"), 6.0f);
    EXPECT_EQ(ginsinx, 2);
}

TEST_F(Animations, RunTakes105StridesAlongTheHeading)
{
    // Each step exactly: stride s = 0.676295340f, a = h * 0.0174; (s sin a, 0, s cos a)
    // narrowed to float, and in the slow-down s * 0.8 kept in double. At heading 30
    // the slow-down differs from both float(s * 0.8f) and float(s * 0.8) shortcuts.
    // End positions within 1e-3: they are given to three decimals.
    const struct {
        int heading;
        Vec to;
    } cases[] = {{0, {0, 0, 71.011f}}, {90, {71.010f, 0, 0.341f}}, {-15, {-18.324f, 0, 68.606f}}, {30, {}}};
    const double s = 0.676295340f;
    for (const auto& c : cases) {
        scene::reset();
        glLoadIdentity();
        direzione = c.heading;
        const auto f = play(Corri);
        ASSERT_EQ(f.size(), 108u);
        const double a = c.heading * 0.0174;
        for (size_t k = 1; k < f.size(); ++k) {
            const double d = k <= 97 ? s : s * 0.8;
            ASSERT_EQ(f[k].moves.size(), 1u) << k;
            EXPECT_EQ(f[k].moves[0],
                      (Vec{static_cast<float>(d * std::sin(a)), 0, static_cast<float>(d * std::cos(a))}))
                << "heading " << c.heading << " frame " << k;
        }
        if (c.heading == 30) continue;
        const Vec p = scene::position();
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(p[i], c.to[i], 1e-3) << "heading " << c.heading << " axis " << i;
    }
}

TEST_F(Animations, WalkStartsStraightAndSwingsWithinItsLimits)
{
    collox = 9, gamsinx = 30, spallasinz = 45, cavdesx = 6;  // a pose from the keyboard
    const auto f = play(Cammina);
    ASSERT_EQ(f.size(), 168u);

    // clang-format off
    expectOnly(f[0], {{"spallasinx", -1}, {"spalladesx", 1}, {"gamsinx", 1}, {"gamdesx", -1}, {"gindesx", 4}});
    const std::vector<const char*> joints = {"spallasinx", "spalladesx", "gamsinx", "gamdesx", "ginsinx", "gindesx"};
    expectRows(f, joints, {
        {4,    -4,   4,   4,  -4,  0, 16},
        {12,  -12,  12,  12, -12,  0,  0},
        {164,  -4,   4,   4,  -4, 16,  0},
        {168,   0,   0,   0,   0,  0,  0}});
    for (int cycle = 0; cycle < 3; ++cycle) {
        const int o = 48 * cycle;
        expectRows(f, joints, {
            {20 + o,  -4,   4,   4,  -4, 32,  0},  // left knee bent
            {28 + o,   4,  -4,  -4,   4, 16,  0},
            {36 + o,  12, -12, -12,  12,  0,  0},
            {44 + o,   4,  -4,  -4,   4,  0, 32},  // right knee bent
            {52 + o,  -4,   4,   4,  -4,  0, 16},
            {60 + o, -12,  12,  12, -12,  0,  0}});
    }
    // clang-format on

    float knee = 0, swing = 0;
    for (const Frame& fr : f) {
        knee = std::max({knee, fr.angle("ginsinx"), fr.angle("gindesx")});
        for (const char* j : {"gamsinx", "gamdesx", "spallasinx", "spalladesx"})
            swing = std::max(swing, std::abs(fr.angle(j)));
    }
    EXPECT_EQ(knee, 32.0f);
    EXPECT_EQ(swing, 12.0f);
    expectOnly(f.back(), {});
}

TEST_F(Animations, WalkTakes168StridesAlongTheHeading)
{
    const auto f = play(Cammina);
    ASSERT_EQ(f.size(), 168u);
    for (const Frame& fr : f) {
        ASSERT_EQ(fr.moves.size(), 1u);
        EXPECT_EQ(fr.moves[0], (Vec{0, 0, 0.170946881f}));  // 9.8 * sin(3.14 / 180) narrowed to float
    }
    EXPECT_NEAR(scene::position()[2], 28.719f, 1e-3);  // tolerance: given to three decimals

    scene::reset();
    glLoadIdentity();
    direzione = 90;
    Cammina();
    const Vec p = scene::position();
    EXPECT_NEAR(p[0], 28.719f, 1e-3);
    EXPECT_EQ(p[1], 0.0f);
    EXPECT_NEAR(p[2], 0.138f, 1e-3);
}

TEST_F(Animations, MovesAccumulateInTheOneModelviewMatrix)
{
    // Tolerance 2e-3: three distances each given to three decimals.
    Cammina();
    Corri();
    TraslaAvanti();
    Vec p = scene::position();
    EXPECT_NEAR(p[2], 28.719f + 71.011f + 15.0f, 2e-3);
    EXPECT_EQ(p[0], 0.0f);

    direzione = 90;  // a later turn aims later moves only
    Corri();
    p = scene::position();
    EXPECT_NEAR(p[0], 71.010f, 2e-3);
    EXPECT_NEAR(p[2], 28.719f + 71.011f + 15.0f + 0.341f, 2e-3);
    EXPECT_EQ(p[1], 0.0f);
}

}  // namespace
