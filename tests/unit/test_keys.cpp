// Keys: every joint and function key changes its one angle by 3 and posts one redisplay; wrap-arounds;
// unbound keys; "z".
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <array>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "app/scene_state.hpp"
#include "controls/joint_keys.hpp"
#include "controls/special_keys.hpp"
#include "tests/unit/support/gl_recorder.hpp"
#include "tests/unit/support/scene.hpp"

using namespace scena;

namespace {

// The key that adds 3 and the key that takes 3 from each angle, and the limit it wraps at.
struct Pair {
    int* angle;
    int plus, minus;
    bool special;
    int modulus;
};

const Pair pairs[] = {
    {&spallasinz, '2', '1', false, 360}, {&spallasinx, '3', '4', false, 360},
    {&spalladesz, '6', '5', false, 360}, {&spalladesx, '7', '8', false, 360},
    {&gomsinx, '0', '9', false, 180},    {&gomdesx, 'w', 'q', false, 180},
    {&polsosinz, 'e', 'r', false, 90},   {&polsodesz, 't', 'y', false, 90},
    {&gamsinx, 'i', 'u', false, 180},    {&gamdesx, 'p', 'o', false, 180},
    {&gamsinz, 'b', 'v', false, 90},     {&gamdesz, 'x', 'c', false, 90},
    {&ginsinx, 'a', 's', false, 180},    {&gindesx, 'd', 'f', false, 180},
    {&cavsinx, 'g', 'h', false, 180},    {&cavdesx, 'j', 'k', false, 180},
    {&colloz, 1, 2, true, 90},           {&collox, 3, 4, true, 90},
    {&colloy, 5, 6, true, 90},           {&panciaz, 7, 8, true, 50},
    {&panciay, 9, 10, true, 90},         {&panciax, 11, 12, true, 180},
    {&direzione, 100, 102, true, 360},  // F1-F12, left and right arrows
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
    for (const Pair& p : pairs)
        for (int change : {3, -3}) {
            const int key = change > 0 ? p.plus : p.minus;
            distinctPose();
            auto expected = scene::angleValues();
            for (int i = 0; i < 25; ++i)
                if (scene::angles()[i] == p.angle) expected[i] += change;
            rec::redisplays = 0;
            press(key, p.special, 17 * key, -key);  // the mouse position plays no part
            EXPECT_EQ(scene::angleValues(), expected) << "key " << key << (p.special ? " (special)" : "");
            EXPECT_EQ(rec::redisplays, 1) << "key " << key;
        }
    EXPECT_EQ(scene::modelview(), figure);
}

TEST(Keys, UnboundKeysChangeNothingAndPostNothing)
{
    scene::reset();
    std::set<int> bound = {'z'};
    std::set<int> boundSpecial = {101, 103};  // up and down move the figure
    for (const Pair& p : pairs) (p.special ? boundSpecial : bound).insert({p.plus, p.minus});
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
    // Every key through a whole cycle: 3, 6, ... (or -3, -6, ...) up to its limit, where it snaps to 0.
    for (const Pair& p : pairs) {
        if (p.modulus % 3 != 0) continue;  // the torso's lean, below
        const int n = p.modulus / 3;
        EXPECT_EQ(presses(p.plus, p.special, p.angle, n), steps(3, p.modulus, n)) << "key " << p.plus;
        EXPECT_EQ(presses(p.minus, p.special, p.angle, n), steps(-3, p.modulus, n)) << "key " << p.minus;
    }

    // The torso's z modulus, 50, is no multiple of 3: it wraps to small values.
    const auto f7 = presses(7, true, &panciaz, 50);
    EXPECT_EQ(f7[15], 48);
    EXPECT_EQ(f7[16], 1);
    EXPECT_EQ(f7[49], 0);
    std::set<int> zeroTo49;
    for (int v = 0; v < 50; ++v) zeroTo49.insert(v);
    EXPECT_EQ(std::set<int>(f7.begin(), f7.end()), zeroTo49);  // every value once
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

TEST(Keys, HelpNamesEveryKeyPairAndMenuEntry)
{
    const std::string text = scene::helpText();
    const auto name = [](const Pair& p, int key) {
        if (!p.special) return std::string(1, static_cast<char>(key));
        return key <= 12 ? "F" + std::to_string(key) : std::string(key == 100 ? "Left" : "Right");
    };
    std::set<std::string> expected = {"Up/Down"};
    for (const Pair& p : pairs) expected.insert(name(p, p.plus) + "/" + name(p, p.minus));
    std::set<std::string> listed;
    const std::regex pair("(\\S+)/(\\S+)");
    for (std::sregex_iterator m(text.begin(), text.end(), pair), end; m != end; ++m) listed.insert(m->str());
    EXPECT_EQ(listed, expected);
    EXPECT_NE(text.find("\n  z  "), std::string::npos);

    // Both menus' entries, in the order the program gives them to GLUT.
    std::vector<std::string> built, shown;
    for (const std::string& call : scene::startupLog())
        if (call.rfind("glutAddMenuEntry(", 0) == 0) built.push_back(call.substr(17, call.rfind(',') - 17));
    const std::string menus = text.substr(text.find("Left button:"));
    const std::regex label("(?:: +|, |\\n  )([^,\\n]+)");
    for (std::sregex_iterator m(menus.begin(), menus.end(), label), end; m != end; ++m)
        shown.push_back((*m)[1]);
    EXPECT_EQ(shown, built);
}

}  // namespace
