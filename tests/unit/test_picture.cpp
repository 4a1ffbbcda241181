// The picture: the figure's outline against its extents, its colour, what each kind of key change moves, and
// which way every key moves its part, against the words --help gives it.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "app/scene_state.hpp"
#include "controls/joint_keys.hpp"
#include "controls/special_keys.hpp"
#include "figure/skeleton.hpp"
#include "tests/unit/support/scene.hpp"
#include "view/projection.hpp"

using namespace scena;

namespace {

// Orthographic, bounds +-30 over the 650-pixel viewport, origin at its lower left.
constexpr double perUnit = 650.0 / 60;
double px(double units) { return 325 + units * perUnit; }

struct Image {
    int w = 0, h = 0;
    std::vector<unsigned char> rgb;
    const unsigned char* at(int i, int j) const { return &rgb[(static_cast<size_t>(j) * w + i) * 3]; }
    bool lit(int i, int j) const { return at(i, j)[0] || at(i, j)[1] || at(i, j)[2]; }
};

Image draw()
{
    Image img;
    img.rgb = scene::drawAndRead(img.w, img.h);
    return img;
}

struct Box {
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;
    double sumX = 0;
    int n = 0;
};

// Lit pixels in the rows from (inclusive) to (exclusive), bottom row 0.
Box lit(const Image& img, int from = 0, int to = 1 << 30)
{
    Box b;
    for (int j = std::max(from, 0); j < std::min(to, img.h); ++j)
        for (int i = 0; i < img.w; ++i)
            if (img.lit(i, j)) {
                b.x0 = std::min(b.x0, i), b.x1 = std::max(b.x1, i);
                b.y0 = std::min(b.y0, j), b.y1 = std::max(b.y1, j);
                b.sumX += i, ++b.n;
            }
    return b;
}

bool sameRows(const Image& a, const Image& b, int from, int to)
{
    for (int j = from; j < to; ++j)
        if (!std::equal(a.at(0, j), a.at(0, j) + a.w * 3, b.at(0, j))) return false;
    return true;
}

// A pixel is lit when its centre is covered; two pixels allow for tessellation.
void expectSpan(int first, int last, double from, double to, const char* what)
{
    EXPECT_NEAR(first, std::floor(px(from) + 0.5), 2) << what;
    EXPECT_NEAR(last, std::floor(px(to) - 0.5), 2) << what;
}

Image orthographicFigure()
{
    scene::reset();
    CambiaProiezione();
    return draw();
}

TEST(Picture, OutlineAndColourFollowTheFigureAndTheLight)
{
    const Image img = orthographicFigure();
    ASSERT_EQ(img.w, 650);
    ASSERT_EQ(img.h, 650);
    const Box b = lit(img);
    expectSpan(b.x0, b.x1, -3.1, 3.1, "x");
    expectSpan(b.y0, b.y1, -11.375, 8.6, "y");

    int brightest = 0;
    for (int j = b.y0; j <= b.y1 && !HasFailure(); ++j)
        for (int i = b.x0; i <= b.x1; ++i) {
            if (!img.lit(i, j)) continue;
            const unsigned char* p = img.at(i, j);
            EXPECT_NEAR(p[0], 0.04 * 255, 2) << i << ", " << j;  // ambient only: the light has no red
            EXPECT_NEAR(p[1], p[2], 1) << i << ", " << j;
            brightest = std::max<int>(brightest, p[1]);
        }
    EXPECT_GT(brightest, 150);
}

TEST(Picture, HipAndTorsoKeysMoveTheirPartsOnly)
{
    const Image rest = orthographicFigure();
    for (int i = 0; i < 10; ++i) keyboard('b', 0, 0);  // left hip 30 degrees toward +x
    const Image leg = draw();
    EXPECT_TRUE(sameRows(rest, leg, static_cast<int>(px(0.6)), rest.h));
    // The ankle swings out to 0.75 + 9.8 sin 30 = 5.65.
    EXPECT_GT(lit(leg, 0, static_cast<int>(px(-1))).x1, px(5.3));
    EXPECT_LT(lit(rest, 0, static_cast<int>(px(-1))).x1, px(3.2));

    keyboard('z', 0, 0);
    for (int i = 0; i < 10; ++i) specialkeyboard(GLUT_KEY_F7, 0, 0);  // torso tilts 30 degrees to its right
    const Image torso = draw();
    EXPECT_TRUE(sameRows(rest, torso, 0, static_cast<int>(px(-6))));
    // The head's centre, 6.2 above the waist, moves 6.2 sin 30 = 3.1 toward -x.
    const Box head = lit(torso, static_cast<int>(px(6))), restHead = lit(rest, static_cast<int>(px(6)));
    EXPECT_NEAR(restHead.sumX / restHead.n, 325, 1);
    EXPECT_LT(head.sumX / head.n, px(-2.5));
}

TEST(Picture, TheHeadingTurnsAndTheUpArrowMoves)
{
    orthographicFigure();
    for (int i = 0; i < 30; ++i) specialkeyboard(GLUT_KEY_LEFT, 0, 0);  // heading 90: seen from its left side
    const Box side = lit(draw());
    expectSpan(side.x0, side.x1, -2.0, 2.0, "side view x");
    expectSpan(side.y0, side.y1, -11.375, 8.6, "side view y");

    for (int i = 0; i < 10; ++i) specialkeyboard(GLUT_KEY_UP, 0, 0);  // 10 units along +x
    const Box moved = lit(draw());
    EXPECT_NEAR(moved.x0 - side.x0, 10 * perUnit, 2);
    EXPECT_NEAR(moved.x1 - side.x1, 10 * perUnit, 2);
    EXPECT_EQ(moved.y0, side.y0);
    EXPECT_EQ(moved.y1, side.y1);
}

// Where a point of the figure's frame (that of the pelvis at rest, `figure`) goes
// when the part drawn in `before` is drawn in `after`: rigid frames, inverted
// by transposing their rotations.
std::array<float, 3> carried(const scene::Matrix& figure, const scene::Matrix& before,
                             const scene::Matrix& after, std::array<float, 3> p)
{
    const auto unapply = [](const scene::Matrix& m, std::array<float, 3> w) {
        std::array<float, 3> r{};
        for (int i = 0; i < 3; ++i)
            r[i] = m[4 * i] * (w[0] - m[12]) + m[4 * i + 1] * (w[1] - m[13]) + m[4 * i + 2] * (w[2] - m[14]);
        return r;
    };
    const auto w = scene::apply(figure, p[0], p[1], p[2]);
    const auto local = unapply(before, w);
    return unapply(figure, scene::apply(after, local[0], local[1], local[2]));
}

TEST(Picture, EveryKeyMovesItsPartTheWayHelpNamesIt)
{
    // What each of --help's words says, in the figure's own frame (its left is +x,
    // its front +z): which point of the part moves, and which way. The end lies a
    // unit along the part from its joint; the front a unit ahead of the joint.
    enum Point { End, Front, Joint };
    constexpr int midline = 3;  // along x, away from the midline, whichever side the part is on
    struct Way {
        Point point;
        int axis;
        float sign;
    };
    // clang-format off
    const std::map<std::string, Way> words = {
        {"out", {End, midline, 1}},       {"in", {End, midline, -1}},
        {"forward", {End, 2, 1}},         {"back", {End, 2, -1}},
        {"toes down", {End, 1, -1}},      {"toes up", {End, 1, 1}},
        {"nods forward", {End, 2, 1}},    {"nods back", {End, 2, -1}},
        {"bends forward", {End, 2, 1}},   {"bends back", {End, 2, -1}},
        {"tilts right", {End, 0, -1}},    {"tilts left", {End, 0, 1}},
        {"leans right", {End, 0, -1}},    {"leans left", {End, 0, 1}},
        {"turns left", {Front, 0, 1}},    {"turns right", {Front, 0, -1}},
        {"twists left", {Front, 0, 1}},   {"twists right", {Front, 0, -1}},
        {"moves forward", {Joint, 2, 1}}, {"moves back", {Joint, 2, -1}},
    };
    // clang-format on
    // Each part: its list call in a frame's drawing order, and the way it points
    // at rest, the figure standing with its arms hanging and its feet forward.
    struct Part {
        size_t call;
        std::array<float, 3> along;
    };
    const std::array<float, 3> up{0, 1, 0}, down{0, -1, 0}, ahead{0, 0, 1};
    // clang-format off
    const std::map<std::string, Part> parts = {
        {"figure", {0, up}},          {"torso", {1, up}},          {"head", {2, up}},
        {"right shoulder", {3, down}}, {"right elbow", {4, down}}, {"right wrist", {5, down}},
        {"left shoulder", {6, down}},  {"left elbow", {7, down}},  {"left wrist", {8, down}},
        {"left hip", {9, down}},       {"left knee", {10, down}},  {"left ankle", {11, ahead}},
        {"right hip", {12, down}},     {"right knee", {13, down}}, {"right ankle", {14, ahead}},
    };
    // clang-format on
    const auto code = [](const std::string& name) {
        if (name[0] == 'F') return GLUT_KEY_F1 + std::stoi(name.substr(1)) - 1;
        return std::map<std::string, int>{
            {"Left", GLUT_KEY_LEFT}, {"Right", GLUT_KEY_RIGHT}, {"Up", GLUT_KEY_UP}, {"Down", GLUT_KEY_DOWN}}
            .at(name);
    };

    scene::reset();
    const auto rest = scene::listCalls(DisegnoScena);
    ASSERT_EQ(rest.size(), 15u);
    ASSERT_EQ(rest[0].list, bacino);
    const scene::Matrix& figure = rest[0].modelview;

    // "  2/1  left shoulder: out / in": the second way keeps the first's verb.
    const std::string help = scene::helpText();
    const std::regex pair("(\\S+)/(\\S+)  +([a-z ]+): ([a-z ]*?)([a-z]+) / ([a-z]+)");
    int pairs = 0;
    for (std::sregex_iterator m(help.begin(), help.end(), pair), end; m != end; ++m, ++pairs) {
        const auto part = parts.find((*m)[3]);
        ASSERT_NE(part, parts.end()) << m->str();
        const size_t s = part->second.call;
        const auto joint = carried(figure, figure, rest[s].modelview, {0, 0, 0});
        // The figure's left is +x: a sided part's name says which side its joint is on.
        const bool left = (*m)[3].str().rfind("left", 0) == 0, right = (*m)[3].str().rfind("right", 0) == 0;
        if (left || right) {
            EXPECT_GT(left ? joint[0] : -joint[0], 0.5) << m->str();
        }
        for (const auto& [key, way] : {std::pair{(*m)[1].str(), (*m)[4].str() + (*m)[5].str()},
                                       std::pair{(*m)[2].str(), (*m)[4].str() + (*m)[6].str()}}) {
            const auto w = words.find(way);
            ASSERT_NE(w, words.end()) << "no direction for \"" << way << "\" in " << m->str();
            const Way& to = w->second;
            std::array<float, 3> p = joint;
            for (int i = 0; i < 3; ++i)
                p[i] += to.point == End ? part->second.along[i] : to.point == Front ? ahead[i] : 0;

            scene::reset();
            for (int i = 0; i < 5; ++i)
                key.size() == 1 ? keyboard(static_cast<unsigned char>(key[0]), 0, 0)
                                : specialkeyboard(code(key), 0, 0);
            const auto moved = scene::listCalls(DisegnoScena);
            ASSERT_EQ(moved.size(), rest.size());
            const auto q = carried(figure, rest[s].modelview, moved[s].modelview, p);
            const std::array<float, 3> d{q[0] - p[0], q[1] - p[1], q[2] - p[2]};
            const int axis = to.axis == midline ? 0 : to.axis;
            const float sign = to.axis == midline && joint[0] < 0 ? -to.sign : to.sign;
            // Mostly that way, and by more than rounding: 5 presses turn 15 degrees
            // (a unit lever's end 0.26) or move 5 units.
            const float length = std::hypot(d[0], d[1], d[2]);
            EXPECT_GT(sign * d[axis], 0.9f * length)
                << key << " (" << m->str() << "): \"" << way << "\" moved by " << d[0] << ", " << d[1] << ", "
                << d[2];
            EXPECT_GT(length, 0.2f) << key << " (" << m->str() << ")";
        }
    }
    EXPECT_EQ(pairs, 24);
}

}  // namespace
