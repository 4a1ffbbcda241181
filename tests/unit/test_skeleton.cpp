// Skeleton and frame: one frame's calls, each segment's rotations, joint positions, what each angle moves.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "app/scene_state.hpp"
#include "figure/skeleton.hpp"
#include "tests/unit/support/gl_recorder.hpp"
#include "tests/unit/support/scene.hpp"

using namespace scena;

namespace {

// Segments in the order their lists are called; parent index, -1 for the figure frame.
// clang-format off
enum { Pelvis, Torso, Head, RArm, RFore, RHand, LArm, LFore, LHand,
       LThigh, LShin, LFoot, RThigh, RShin, RFoot };
const int parent[15] = {-1, -1, Torso, Torso, RArm, RFore, Torso, LArm, LFore,
                        -1, LThigh, LShin, -1, RThigh, RShin};
// clang-format on

std::vector<scene::ListCall> figureAtOrigin()
{
    glLoadIdentity();
    return scene::listCalls(DisegnoUomo);
}

std::array<float, 3> at(const std::vector<scene::ListCall>& f, int segment, float px = 0, float py = 0,
                        float pz = 0)
{
    return scene::apply(f[segment].modelview, px, py, pz);
}

void expectNear(std::array<float, 3> a, std::array<float, 3> b, float tol, const char* what)
{
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(a[i], b[i], tol) << what << " axis " << i;
}

// One segment as a frame draws it at rest: push, move to the joint, turn by each of
// its (zero) angles, draw its list, each child inside a push and a pop of its own, pop.
// Offsets are the single-precision values the recorder prints.
// A foot, built along -x, turns a fixed 90 degrees about y before its list.
using Calls = std::vector<std::string>;
Calls segment(const char* joint, const Calls& axes, GLuint list, const std::vector<Calls>& children = {},
              bool foot = false)
{
    Calls c = {"glPushMatrix()", std::string("glTranslatef(") + joint + ")"};
    for (const std::string& axis : axes) c.push_back("glRotatef(0, " + axis + ")");
    if (foot) c.push_back("glRotatef(90, 0, 1, 0)");
    c.push_back("glCallList(" + std::to_string(list) + ")");
    for (const Calls& child : children) {
        c.push_back("glPushMatrix()");
        c.insert(c.end(), child.begin(), child.end());
        c.push_back("glPopMatrix()");
    }
    c.push_back("glPopMatrix()");
    return c;
}

Calls within(const Calls& inner)
{
    Calls c = {"glPushMatrix()"};
    c.insert(c.end(), inner.begin(), inner.end());
    c.push_back("glPopMatrix()");
    return c;
}

Calls join(const std::vector<Calls>& parts)
{
    Calls c;
    for (const Calls& p : parts) c.insert(c.end(), p.begin(), p.end());
    return c;
}

TEST(Skeleton, OneFrameClearsDrawsFifteenListsAndSwaps)
{
    scene::reset();
    direzione = 37;
    glTranslatef(2, 0, -3);  // a moved figure: the frame must keep the move
    const scene::Matrix before = scene::modelview();
    rec::start();
    const auto calls = scene::listCalls(display);
    rec::stop();

    const auto& log = rec::calls();
    const std::string x = "1, 0, 0", y = "0, 1, 0", z = "0, 0, 1";
    const auto arm = [&](const char* shoulder) {
        return segment(shoulder, {x, y, z}, bicipideEspalla,
                       {segment("0, -2.8499999, 0", {x}, avambraccioEgomito,
                                {segment("0, -2.70000005, 0", {z}, manoEpolso)})});
    };
    const auto leg = [&](const char* hip) {
        return segment(hip, {x, z}, cosciaEgluteo,
                       {segment("0, -4.9000001, 0", {x}, stincoEginocchio,
                                {segment("0, -4.9000001, 0", {x}, piedeEcaviglia, {}, true)})});
    };
    const Calls torso =
        segment("0, 1, 0", {x, y, z}, panciaEtorace,
                {segment("0, 4.4000001, 0", {x, y, z}, colloEtesta), arm("-2.5, 3, 0"), arm("2.5, 3, 0")});
    const Calls frame = join({{"glClear(16384)", "glClear(256)", "glPushMatrix()", "glRotatef(37, 0, 1, 0)",
                               "glColor3f(1, 1, 1)", "glMatrixMode(5888)"},
                              within({"glCallList(" + std::to_string(bacino) + ")"}),
                              within(within(torso)),
                              within(join({within(leg("0.75, -1, 0")), within(leg("-0.75, -1, 0"))})),
                              {"glPopMatrix()", "glutSwapBuffers()"}});
    EXPECT_EQ(log, frame);
    ASSERT_GE(log.size(), 6u);
    EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 4),
              (std::vector<std::string>{"glClear(16384)", "glClear(256)", "glPushMatrix()",
                                        "glRotatef(37, 0, 1, 0)"}));
    EXPECT_EQ(std::vector<std::string>(log.end() - 2, log.end()),
              (std::vector<std::string>{"glPopMatrix()", "glutSwapBuffers()"}));
    EXPECT_EQ(rec::count("glRotatef"), 27);
    EXPECT_EQ(rec::count("glTranslatef"), 14);
    EXPECT_EQ(rec::count("glPushMatrix"), 32);
    EXPECT_EQ(rec::count("glPopMatrix"), 32);
    EXPECT_EQ(rec::count("glClear"), 2);
    EXPECT_EQ(rec::count("glutPostRedisplay"), 0);

    const GLuint order[15] = {
        bacino,           panciaEtorace,   colloEtesta,        bicipideEspalla,  avambraccioEgomito,
        manoEpolso,       bicipideEspalla, avambraccioEgomito, manoEpolso,       cosciaEgluteo,
        stincoEginocchio, piedeEcaviglia,  cosciaEgluteo,      stincoEginocchio, piedeEcaviglia};
    // Depth at each call; the list's own push adds one, so the hands reach 12.
    const GLint depth[15] = {3, 5, 7, 7, 9, 11, 7, 9, 11, 5, 7, 9, 5, 7, 9};
    ASSERT_EQ(calls.size(), 15u);
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(calls[i].list, order[i]) << "call " << i;
        EXPECT_EQ(calls[i].depth, depth[i]) << "call " << i;
    }
    EXPECT_EQ(scene::modelview(), before);
    EXPECT_EQ(scene::integer(GL_MODELVIEW_STACK_DEPTH), 1);
    EXPECT_EQ(scene::integer(GL_MATRIX_MODE), GL_MODELVIEW);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(Skeleton, TurnsEachSegmentByItsAnglesInOrder)
{
    scene::reset();
    const auto all = scene::angles();
    for (int i = 0; i < 25; ++i) *all[i] = i + 1;  // gamsinx 1 ... direzione 25
    rec::start();
    display();
    rec::stop();
    const std::vector<std::string> expected = {
        "glRotatef(25, 0, 1, 0)",                                                      // heading
        "glRotatef(9, 1, 0, 0)",  "glRotatef(10, 0, 1, 0)", "glRotatef(11, 0, 0, 1)",  // torso
        "glRotatef(12, 1, 0, 0)", "glRotatef(13, 0, 1, 0)", "glRotatef(14, 0, 0, 1)",  // head
        "glRotatef(18, 1, 0, 0)", "glRotatef(19, 0, 1, 0)", "glRotatef(20, 0, 0, 1)",  // right shoulder
        "glRotatef(22, 1, 0, 0)", "glRotatef(24, 0, 0, 1)",                            // right elbow, wrist
        "glRotatef(15, 1, 0, 0)", "glRotatef(16, 0, 1, 0)", "glRotatef(17, 0, 0, 1)",  // left shoulder
        "glRotatef(21, 1, 0, 0)", "glRotatef(23, 0, 0, 1)",                            // left elbow, wrist
        "glRotatef(1, 1, 0, 0)",  "glRotatef(2, 0, 0, 1)",  "glRotatef(5, 1, 0, 0)",   // left hip, knee
        "glRotatef(7, 1, 0, 0)",  "glRotatef(90, 0, 1, 0)",                            // left foot
        "glRotatef(3, 1, 0, 0)",  "glRotatef(4, 0, 0, 1)",  "glRotatef(6, 1, 0, 0)",   // right hip, knee
        "glRotatef(8, 1, 0, 0)",  "glRotatef(90, 0, 1, 0)",                            // right foot
    };
    EXPECT_EQ(rec::only("glRotatef"), expected);
}

TEST(Skeleton, RestPostureJoints)
{
    scene::reset();
    const auto f = figureAtOrigin();
    const std::array<float, 3> joint[15] = {
        {0, 0, 0},          {0, 1, 0},          {0, 5.4f, 0},     {-2.5f, 4, 0},      {-2.5f, 1.15f, 0},
        {-2.5f, -1.55f, 0}, {2.5f, 4, 0},       {2.5f, 1.15f, 0}, {2.5f, -1.55f, 0},  {0.75f, -1, 0},
        {0.75f, -5.9f, 0},  {0.75f, -10.8f, 0}, {-0.75f, -1, 0},  {-0.75f, -5.9f, 0}, {-0.75f, -10.8f, 0}};
    for (int s = 0; s < 15; ++s) expectNear(at(f, s), joint[s], 1e-5f, "joint");
    // The foot is built along -x; the fixed turn points it forward, toes at z 1.7.
    expectNear(at(f, LFoot, -1.7f, -0.4f, 0), {0.75f, -11.2f, 1.7f}, 1e-5f, "left toes");
    expectNear(at(f, RFoot, 0.2f, -0.575f, 0), {-0.75f, -11.375f, -0.2f}, 1e-5f, "right heel sole");
    expectNear(at(f, Head, 0, 1.8f, 1.75f), {0, 7.2f, 1.75f}, 1e-5f, "nose tip");
}

bool inSubtree(int s, int root)
{
    for (; s != -1; s = parent[s])
        if (s == root) return true;
    return false;
}

TEST(Skeleton, EachAngleMovesItsSegmentAndWhatHangsOnIt)
{
    // The segment each of the 24 angles turns, in the scene state's order.
    const int turns[24] = {LThigh, LThigh, RThigh, RThigh, LShin, RShin, LFoot, RFoot,
                           Torso,  Torso,  Torso,  Head,   Head,  Head,  LArm,  LArm,
                           LArm,   RArm,   RArm,   RArm,   LFore, RFore, LHand, RHand};
    scene::reset();
    const auto rest = figureAtOrigin();
    for (int a = 0; a < 24; ++a) {
        Attenti();
        *scene::angles()[a] = 30;
        const auto bent = figureAtOrigin();
        for (int s = 0; s < 15; ++s)
            EXPECT_EQ(bent[s].modelview != rest[s].modelview, inSubtree(s, turns[a]))
                << "angle " << a << " segment " << s;
    }
}

}  // namespace
