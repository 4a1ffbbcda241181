// Keys: every joint and function key changes its one angle by 3 and posts one redisplay; wrap-arounds; unbound keys; "z".
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "app/scene_state.hpp"
#include "controls/joint_keys.hpp"
#include "controls/special_keys.hpp"
#include "tests/support/gl_recorder.hpp"
#include "tests/support/scene.hpp"

namespace {

struct Binding {
    int key;
    bool special;
    int* angle;
    int change;
};

const Binding bindings[] = {
    {'2', false, &spallasinz, 3}, {'1', false, &spallasinz, -3}, {'3', false, &spallasinx, 3}, {'4', false, &spallasinx, -3},
    {'6', false, &spalladesz, 3}, {'5', false, &spalladesz, -3}, {'7', false, &spalladesx, 3}, {'8', false, &spalladesx, -3},
    {'0', false, &gomsinx, 3},    {'9', false, &gomsinx, -3},    {'w', false, &gomdesx, 3},    {'q', false, &gomdesx, -3},
    {'e', false, &polsosinz, 3},  {'r', false, &polsosinz, -3},  {'t', false, &polsodesz, 3},  {'y', false, &polsodesz, -3},
    {'i', false, &gamsinx, 3},    {'u', false, &gamsinx, -3},    {'p', false, &gamdesx, 3},    {'o', false, &gamdesx, -3},
    {'b', false, &gamsinz, 3},    {'v', false, &gamsinz, -3},    {'x', false, &gamdesz, 3},    {'c', false, &gamdesz, -3},
    {'a', false, &ginsinx, 3},    {'s', false, &ginsinx, -3},    {'d', false, &gindesx, 3},    {'f', false, &gindesx, -3},
    {'g', false, &cavsinx, 3},    {'h', false, &cavsinx, -3},    {'j', false, &cavdesx, 3},    {'k', false, &cavdesx, -3},
    {1, true, &colloz, 3},        {2, true, &colloz, -3},        {3, true, &collox, 3},        {4, true, &collox, -3},
    {5, true, &colloy, 3},        {6, true, &colloy, -3},        {7, true, &panciaz, 3},       {8, true, &panciaz, -3},
    {9, true, &panciay, 3},       {10, true, &panciay, -3},      {11, true, &panciax, 3},      {12, true, &panciax, -3},
    {100, true, &direzione, 3},   {102, true, &direzione, -3},
};

void press(int key, bool special, int mx = 0, int my = 0)
{
    if (special)
        specialkeyboard(key, mx, my);
    else
        keyboard(static_cast<unsigned char>(key), mx, my);
}

// Every angle and the heading set to distinct small values, so a change to the wrong one shows.
void distinctPose()
{
    for (int i = 0; i < 25; ++i) *scene::angles()[i] = i;
}

TEST(Keys, EachBoundKeyChangesOnlyItsAngleAndPostsOneRedisplay)
{
    scene::reset();
    glTranslatef(1, 2, 3);
    const scene::Matrix figure = scene::modelview();
    for (const Binding& b : bindings) {
        distinctPose();
        auto expected = scene::angleValues();
        for (int i = 0; i < 25; ++i)
            if (scene::angles()[i] == b.angle) expected[i] += b.change;
        rec::redisplays = 0;
        press(b.key, b.special, 17 * b.key, -b.key);  // the mouse position plays no part
        EXPECT_EQ(scene::angleValues(), expected) << "key " << b.key << (b.special ? " (special)" : "");
        EXPECT_EQ(rec::redisplays, 1) << "key " << b.key;
    }
    EXPECT_EQ(scene::modelview(), figure);
}

TEST(Keys, UnboundKeysChangeNothingAndPostNothing)
{
    scene::reset();
    std::set<int> bound = {'z'};
    std::set<int> boundSpecial = {101, 103};  // up and down move the figure
    for (const Binding& b : bindings) (b.special ? boundSpecial : bound).insert(b.key);
    EXPECT_EQ(bound.size(), 33u);  // ten digits and the letters but l, m and n
    distinctPose();
    const auto pose = scene::angleValues();
    const scene::Matrix figure = scene::modelview();
    for (int key = 0; key < 256; ++key)
        if (!bound.count(key)) press(key, false, key, key);
    for (int key = -5; key < 300; ++key)
        if (!boundSpecial.count(key)) press(key, true);
    EXPECT_EQ(scene::angleValues(), pose);
    EXPECT_EQ(scene::modelview(), figure);
    EXPECT_EQ(rec::redisplays, 0);
}

// The angle after each of n presses of a key, from 0.
std::vector<int> presses(int key, bool special, int* angle, int n)
{
    *angle = 0;
    std::vector<int> seen;
    for (int i = 0; i < n; ++i) {
        press(key, special);
        seen.push_back(*angle);
    }
    return seen;
}

std::vector<int> steps(int step, int modulus, int n)
{
    std::vector<int> r;
    for (int i = 1; i <= n; ++i) r.push_back(i * step == modulus || -i * step == modulus ? 0 : i * step);
    return r;
}

TEST(Keys, AnglesWrapAtTheirModulus)
{
    scene::reset();
    EXPECT_EQ(presses('i', false, &gamsinx, 60), steps(3, 180, 60));    // 3 ... 177, 0
    EXPECT_EQ(presses('u', false, &gamsinx, 60), steps(-3, 180, 60));   // -3 ... -177, 0
    EXPECT_EQ(presses('e', false, &polsosinz, 30), steps(3, 90, 30));
    EXPECT_EQ(presses('2', false, &spallasinz, 120), steps(3, 360, 120));
    EXPECT_EQ(presses(1, true, &colloz, 30), steps(3, 90, 30));         // F1
    EXPECT_EQ(presses(2, true, &colloz, 30), steps(-3, 90, 30));        // F2
    EXPECT_EQ(presses(100, true, &direzione, 120), steps(3, 360, 120));  // left arrow
    EXPECT_EQ(presses(102, true, &direzione, 120), steps(-3, 360, 120)); // right arrow

    // The torso's z modulus, 50, is no multiple of 3: it wraps to small values.
    const auto f7 = presses(7, true, &panciaz, 50);
    EXPECT_EQ(f7[15], 48);
    EXPECT_EQ(f7[16], 1);
    EXPECT_EQ(f7[49], 0);
    EXPECT_EQ(std::set<int>(f7.begin(), f7.end()).size(), 50u);  // every value 0 ... 49 once
    EXPECT_EQ(*std::min_element(f7.begin(), f7.end()), 0);
    EXPECT_EQ(*std::max_element(f7.begin(), f7.end()), 49);
    EXPECT_EQ(presses(8, true, &panciaz, 17)[16], -1);

    // The remainder is taken of whatever the angle held, even off the 3-degree grid.
    const struct {
        int key, before, after;
    } odd[] = {{'i', 179, 2}, {'u', -179, -2}, {'i', 250, 73}, {'u', -400, -43}};
    for (const auto& o : odd) {
        gamsinx = o.before;
        press(o.key, false);
        EXPECT_EQ(gamsinx, o.after) << o.before;
    }
}

TEST(Keys, ZStandsTheFigureToAttentionWhereItIs)
{
    scene::reset();
    glTranslatef(5, 0, -8);
    const scene::Matrix figure = scene::modelview();
    for (int i = 0; i < 24; ++i) *scene::angles()[i] = 3 * i + 3;
    direzione = 45;
    press('z', false, 300, 20);
    auto expected = std::array<int, 25>{};
    expected[24] = 45;
    EXPECT_EQ(scene::angleValues(), expected);
    EXPECT_EQ(scene::modelview(), figure);
    EXPECT_EQ(rec::redisplays, 1);
}

}  // namespace
