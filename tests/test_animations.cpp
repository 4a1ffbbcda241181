// The jump, the run and the walk: their frames, poses and moves, and where they leave the figure.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "animation/jump.hpp"
#include "animation/run.hpp"
#include "animation/walk.hpp"
#include "app/scene_state.hpp"
#include "tests/support/gl_recorder.hpp"
#include "tests/support/scene.hpp"
#include "view/placement.hpp"

namespace {

// The 27 rotations of one frame in drawing order; "piede" is a foot's fixed 90-degree turn.
const char* const kRotations[] = {
    "direzione",  "panciax",    "panciay",    "panciaz", "collox",    "colloy",  "colloz",
    "spalladesx", "spalladesy", "spalladesz", "gomdesx", "polsodesz", "spallasinx",
    "spallasiny", "spallasinz", "gomsinx",    "polsosinz", "gamsinx", "gamsinz",
    "ginsinx",    "cavsinx",    "piede",      "gamdesx", "gamdesz",   "gindesx",
    "cavdesx",    "piede"};
constexpr int kSlots = 27;

int* const kJoints[] = {&gamsinx,    &gamsinz,    &gamdesx,    &gamdesz,   &ginsinx,    &gindesx,
                        &cavsinx,    &cavdesx,    &panciax,    &panciay,   &panciaz,    &collox,
                        &colloy,     &colloz,     &spallasinx, &spallasiny, &spallasinz, &spalladesx,
                        &spalladesy, &spalladesz, &gomsinx,    &gomdesx,   &polsosinz,  &polsodesz};

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

// With the modelview matrix loaded with the identity, its translation is the
// figure's position, free of the camera's 120 units.
Vec position()
{
    const scene::Matrix m = scene::modelview();
    return {m[12], m[13], m[14]};
}

struct Expect {
    const char* joint;
    float value;
};

// The pose drawn in one frame, joint by joint (1-based frame number as in the phase tables).
void expectPose(const std::vector<Frame>& frames, size_t frame, std::initializer_list<Expect> joints)
{
    for (const Expect& e : joints) EXPECT_EQ(frames.at(frame - 1).angle(e.joint), e.value) << e.joint << " at frame " << frame;
}

void expectAllJointsZero()
{
    for (int* j : kJoints) EXPECT_EQ(*j, 0);
}

class Animations : public ::testing::Test {
protected:
    void SetUp() override
    {
        scene::reset();
        glLoadIdentity();
    }
};

TEST_F(Animations, EachDrawsItsFramesAndLeavesTheMatrixStackAlone)
{
    const struct {
        void (*animation)();
        int frames;
    } cases[] = {{Salta, 115}, {Corri, 108}, {Cammina, 168}};
    for (const auto& c : cases) {
        const GLint depth = scene::integer(GL_MODELVIEW_STACK_DEPTH);
        rec::swaps = 0;
        c.animation();
        EXPECT_EQ(rec::swaps, c.frames);
        EXPECT_EQ(rec::redisplays, 0);
        EXPECT_EQ(scene::integer(GL_MODELVIEW_STACK_DEPTH), depth);
        EXPECT_EQ(scene::integer(GL_MATRIX_MODE), GL_MODELVIEW);
    }
}

TEST_F(Animations, JumpStraightensFirstThenPlaysItsPhases)
{
    collox = 12, spallasinx = 30, polsodesz = -9, gamdesz = 6, ginsinx = 45;  // a pose from the keyboard
    direzione = 37;
    const auto f = play(Salta);
    ASSERT_EQ(f.size(), 115u);

    expectPose(f, 1, {{"gamsinx", -2}, {"gamdesx", -2}, {"ginsinx", 4}, {"gindesx", 4}, {"cavsinx", -2},
                      {"cavdesx", -2}, {"collox", 0}, {"spallasinx", 0}, {"polsodesz", 0}, {"gamdesz", 0}});
    expectPose(f, 20, {{"gamsinx", -40}, {"gamdesx", -40}, {"ginsinx", 80}, {"gindesx", 80}, {"cavsinx", -40}, {"cavdesx", -40}});
    expectPose(f, 30, {{"gamsinx", 0}, {"ginsinx", 0}, {"cavdesx", 0}, {"spalladesz", -90}, {"spallasinz", 90}});
    expectPose(f, 40, {{"spalladesz", -180}, {"spallasinz", 180}, {"cavsinx", 30}, {"cavdesx", 30}});
    expectPose(f, 75, {{"spalladesz", -180}, {"spallasinz", 180}, {"cavsinx", 60}, {"cavdesx", 60}});
    expectPose(f, 115, {{"spalladesz", 0}, {"spallasinz", 0}, {"cavsinx", 0}, {"cavdesx", 0}});
    for (const Frame& fr : f) EXPECT_EQ(fr.angle("direzione"), 37.0f);
    expectAllJointsZero();
    EXPECT_EQ(direzione, 37);
}

TEST_F(Animations, JumpRisesElevenAndComesBackDown)
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
    EXPECT_NEAR(height[19], -2.2919349f, 1e-6);
    EXPECT_NEAR(height[29], 0.0f, 1e-6);
    const struct {
        size_t frame;
        float height;
    } ends[] = {{40, 3}, {50, 6}, {60, 9}, {85, 9}, {95, 6}};
    for (const auto& e : ends) EXPECT_NEAR(height[e.frame - 1], e.height, 1e-5) << e.frame;
    for (size_t k = 70; k <= 75; ++k) EXPECT_NEAR(height[k - 1], 11.0f, 1e-5) << k;
    for (size_t k = 2; k <= 20; ++k) EXPECT_LT(height[k - 1], height[k - 2]) << "crouch goes down at " << k;

    const Vec end = position();
    EXPECT_EQ(end[0], 0.0f);
    EXPECT_EQ(end[2], 0.0f);
    EXPECT_NEAR(end[1], 0.0f, 1e-6);
    Salta();  // a second jump adds no visible drift
    EXPECT_NEAR(position()[1], 0.0f, 1e-6);
}

TEST_F(Animations, JumpProfilesAreDoubleCosineStepsNarrowedOnce)
{
    const auto f = play(Salta);
    ASSERT_EQ(f.size(), 115u);
    EXPECT_NEAR(f[0].moves.at(0)[1], -0.005968, 1e-6);
    EXPECT_NEAR(f[19].moves.at(0)[1], -0.215195, 1e-6);
    EXPECT_NEAR(f[20].moves.at(0)[1], 0.420984, 1e-6);
    EXPECT_NEAR(f[29].moves.at(0)[1], 0.023863, 1e-6);
    // Exactly: crouch dy = -(cos((i-1)*0.0349) - cos(i*0.0349)) * 9.8, i = k;
    // push-off dy = (cos((i-1)*0.0698) - cos(i*0.0698)) * 9.8, i = 11 - k; all in double.
    for (int k = 1; k <= 20; ++k)
        EXPECT_EQ(f[k - 1].moves.at(0)[1], static_cast<float>(-(std::cos((k - 1) * 0.0349) - std::cos(k * 0.0349)) * 9.8)) << k;
    for (int k = 1; k <= 10; ++k) {
        const int i = 11 - k;
        EXPECT_EQ(f[19 + k].moves.at(0)[1], static_cast<float>((std::cos((i - 1) * 0.0698) - std::cos(i * 0.0698)) * 9.8)) << k;
    }
    EXPECT_EQ(f[30].moves.at(0)[1], 0.3f);
    EXPECT_EQ(f[60].moves.at(0)[1], 0.2f);
    EXPECT_EQ(f[75].moves.at(0)[1], -0.2f);
    EXPECT_EQ(f[114].moves.at(0)[1], -0.3f);
}

TEST_F(Animations, RunSetsOnlyItsJointsAndEndsWithTheLeftKneeBent)
{
    collox = 9, cavsinx = -6, gamsinz = 3, polsosinz = 12, panciax = 15, gindesx = 30;
    const auto f = play(Corri);
    ASSERT_EQ(f.size(), 108u);

    EXPECT_TRUE(f[0].moves.empty()) << "frame 0 is drawn where the figure stood";
    expectPose(f, 1, {{"spalladesx", 2}, {"spallasinx", -2}, {"gomdesx", -6}, {"gomsinx", -6}, {"panciax", 0},
                      {"gamdesx", -2}, {"gindesx", 0}, {"gamsinx", 2}, {"ginsinx", 6}});
    // Frame numbers below are display calls, one more than the run's own frame numbers.
    const std::initializer_list<Expect> leftBack = {{"gamsinx", 30}, {"gamdesx", -30}, {"ginsinx", 62}, {"gindesx", 0},
                                                    {"spalladesx", 30}, {"spallasinx", -30}, {"gomdesx", -90}, {"gomsinx", -90}};
    const std::initializer_list<Expect> rightBack = {{"gamdesx", 30}, {"gamsinx", -30}, {"gindesx", 60}, {"ginsinx", 2},
                                                     {"spallasinx", 30}, {"spalladesx", -30}, {"gomdesx", -90}, {"gomsinx", -90}};
    expectPose(f, 8, leftBack);
    for (size_t end = 23; end <= 98; end += 30) {
        expectPose(f, end, rightBack);
        expectPose(f, end + 15, leftBack);
    }
    for (const Frame& fr : f) {
        EXPECT_EQ(fr.angle("collox"), 9.0f);
        EXPECT_EQ(fr.angle("cavsinx"), -6.0f);
        EXPECT_EQ(fr.angle("gamsinz"), 3.0f);
        EXPECT_EQ(fr.angle("polsosinz"), 12.0f);
    }
    EXPECT_EQ(ginsinx, 2);
    for (int j : {gamsinx, gamdesx, gindesx, spallasinx, spalladesx, gomsinx, gomdesx, panciax}) EXPECT_EQ(j, 0);
    EXPECT_EQ(collox, 9);
    EXPECT_EQ(cavsinx, -6);

    const auto again = play(Corri);
    ASSERT_EQ(again.size(), 108u);
    EXPECT_EQ(again[0].angle("ginsinx"), 6.0f);
    EXPECT_EQ(ginsinx, 2);
}

TEST_F(Animations, RunTakes105StridesAlongTheHeading)
{
    // Tolerance 1e-3: the distances are given to three decimals.
    const struct {
        int heading;
        Vec to;
    } cases[] = {{0, {0, 0, 71.011f}}, {90, {71.010f, 0, 0.341f}}, {-15, {-18.324f, 0, 68.606f}}};
    for (const auto& c : cases) {
        scene::reset();
        glLoadIdentity();
        direzione = c.heading;
        const auto f = play(Corri);
        ASSERT_EQ(f.size(), 108u);
        for (size_t k = 1; k < f.size(); ++k) EXPECT_EQ(f[k].moves.size(), 1u) << k;
        const Vec p = position();
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(p[i], c.to[i], 1e-3) << "heading " << c.heading << " axis " << i;
    }
}

TEST_F(Animations, RunStepsAreTheStrideAndItsDoubleSlowDown)
{
    // Heading 30: there the slow-down step, stride * 0.8 in double, differs from
    // both single-precision shortcuts float(stride * 0.8f) and float(stride * 0.8).
    direzione = 30;
    const auto f = play(Corri);
    ASSERT_EQ(f.size(), 108u);
    const double s = 0.676295340f;  // the stride, 9.7 * sin(3.14 / 45) narrowed to float
    const double a = 30 * 0.0174;
    for (size_t k = 1; k <= 97; ++k) {
        EXPECT_EQ(f[k].moves.at(0)[0], static_cast<float>(s * std::sin(a))) << k;
        EXPECT_EQ(f[k].moves.at(0)[2], static_cast<float>(s * std::cos(a))) << k;
    }
    for (size_t k = 98; k <= 107; ++k) {
        EXPECT_EQ(f[k].moves.at(0)[0], static_cast<float>(s * 0.8 * std::sin(a))) << k;
        EXPECT_EQ(f[k].moves.at(0)[2], static_cast<float>(s * 0.8 * std::cos(a))) << k;
    }
}

TEST_F(Animations, WalkStartsStraightAndSwingsWithinItsLimits)
{
    collox = 9, gamsinx = 30, spallasinz = 45, cavdesx = 6;  // a pose from the keyboard
    const auto f = play(Cammina);
    ASSERT_EQ(f.size(), 168u);

    expectPose(f, 1, {{"spallasinx", -1}, {"spalladesx", 1}, {"gamsinx", 1}, {"gamdesx", -1}, {"gindesx", 4},
                      {"ginsinx", 0}, {"collox", 0}, {"spallasinz", 0}, {"cavdesx", 0}});
    expectPose(f, 4, {{"spallasinx", -4}, {"spalladesx", 4}, {"gamsinx", 4}, {"gamdesx", -4}, {"gindesx", 16}});
    for (size_t c = 12;; c += 48) {  // each cycle ends in the pose phase 2 ends in
        expectPose(f, c, {{"spallasinx", -12}, {"spalladesx", 12}, {"gamsinx", 12}, {"gamdesx", -12}, {"gindesx", 0}, {"ginsinx", 0}});
        if (c == 156) break;
        expectPose(f, c + 8, {{"spallasinx", -4}, {"gamdesx", -4}, {"ginsinx", 32}});
        expectPose(f, c + 16, {{"spallasinx", 4}, {"gamdesx", 4}, {"ginsinx", 16}});
        expectPose(f, c + 24, {{"spallasinx", 12}, {"spalladesx", -12}, {"gamsinx", -12}, {"gamdesx", 12}, {"ginsinx", 0}});
        expectPose(f, c + 32, {{"spallasinx", 4}, {"gamdesx", 4}, {"gindesx", 32}});
        expectPose(f, c + 40, {{"spallasinx", -4}, {"gamdesx", -4}, {"gindesx", 16}});
    }
    expectPose(f, 164, {{"spallasinx", -4}, {"spalladesx", 4}, {"gamsinx", 4}, {"gamdesx", -4}, {"ginsinx", 16}});

    float knee = 0, swing = 0;
    for (const Frame& fr : f) {
        knee = std::max({knee, fr.angle("ginsinx"), fr.angle("gindesx")});
        for (const char* j : {"gamsinx", "gamdesx", "spallasinx", "spalladesx"}) swing = std::max(swing, std::abs(fr.angle(j)));
    }
    EXPECT_EQ(knee, 32.0f);
    EXPECT_EQ(swing, 12.0f);
    expectAllJointsZero();
}

TEST_F(Animations, WalkTakes168StridesAlongTheHeading)
{
    const auto f = play(Cammina);
    ASSERT_EQ(f.size(), 168u);
    for (const Frame& fr : f) {
        ASSERT_EQ(fr.moves.size(), 1u);
        EXPECT_EQ(fr.moves[0][0], 0.0f);
        EXPECT_EQ(fr.moves[0][1], 0.0f);
        EXPECT_EQ(fr.moves[0][2], 0.170946881f);  // 9.8 * sin(3.14 / 180) narrowed to float
    }
    EXPECT_NEAR(position()[2], 28.719f, 1e-3);  // tolerance: given to three decimals

    scene::reset();
    glLoadIdentity();
    direzione = 90;
    Cammina();
    const Vec p = position();
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
    Vec p = position();
    EXPECT_NEAR(p[2], 28.719f + 71.011f + 15.0f, 2e-3);
    EXPECT_EQ(p[0], 0.0f);

    direzione = 90;  // a later turn aims later moves only
    Corri();
    p = position();
    EXPECT_NEAR(p[0], 71.010f, 2e-3);
    EXPECT_NEAR(p[2], 28.719f + 71.011f + 15.0f + 0.341f, 2e-3);
    EXPECT_EQ(p[1], 0.0f);
}

}  // namespace
