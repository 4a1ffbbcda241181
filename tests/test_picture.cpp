// The picture: the figure's outline against its extents, its colour, and what each kind of key change moves.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "app/scene_state.hpp"
#include "controls/joint_keys.hpp"
#include "controls/special_keys.hpp"
#include "tests/support/scene.hpp"
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

}  // namespace
