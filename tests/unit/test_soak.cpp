// A long run of random inputs through every callback, checking after each one
// what no input may break: the matrix stacks, the matrix mode, GL's error
// state, the view volume's shape and the ranges the angles and heading keep.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <random>
#include <string>

#include "app/scene_state.hpp"
#include "controls/joint_keys.hpp"
#include "controls/menus.hpp"
#include "controls/special_keys.hpp"
#include "figure/skeleton.hpp"
#include "tests/unit/support/scene.hpp"
#include "view/projection.hpp"

using namespace scena;

namespace {

// Every joint with the modulus of the keys that turn it. Animations add without
// a remainder but always end inside these ranges (their end poses are 0 or 2),
// so after every input each angle lies strictly inside (-modulus, modulus).
// The shoulders' y angles have no key: only Attenti stores to them.
const struct {
    const int* angle;
    int modulus;
    const char* name;
} joints[] = {
    {&gamsinx, 180, "gamsinx"},       {&gamsinz, 90, "gamsinz"},       {&gamdesx, 180, "gamdesx"},
    {&gamdesz, 90, "gamdesz"},        {&ginsinx, 180, "ginsinx"},      {&gindesx, 180, "gindesx"},
    {&cavsinx, 180, "cavsinx"},       {&cavdesx, 180, "cavdesx"},      {&panciax, 180, "panciax"},
    {&panciay, 90, "panciay"},        {&panciaz, 50, "panciaz"},       {&collox, 90, "collox"},
    {&colloy, 90, "colloy"},          {&colloz, 90, "colloz"},         {&spallasinx, 360, "spallasinx"},
    {&spallasiny, 1, "spallasiny"},   {&spallasinz, 360, "spallasinz"}, {&spalladesx, 360, "spalladesx"},
    {&spalladesy, 1, "spalladesy"},   {&spalladesz, 360, "spalladesz"}, {&gomsinx, 180, "gomsinx"},
    {&gomdesx, 180, "gomdesx"},       {&polsosinz, 90, "polsosinz"},   {&polsodesz, 90, "polsodesz"},
};

constexpr unsigned kSeed = 20240611;
constexpr int kInputs = 100000;

// One random input: what it is, how to give it, and whether it turns the figure.
struct Input {
    std::string what;
    std::function<void()> give;
    bool remTurn = false;   // a turn that takes the remainder by 360
    bool halfTurn = false;  // "Ruota di 180 gradi": exactly -180
    bool costly = false;    // draws frames
};

Input randomInput(const std::function<int(int, int)>& pick)
{
    const int kind = pick(0, 999);
    if (kind < 450) {
        const int key = pick(0, 255), x = pick(-10, 700), y = pick(-10, 700);
        return {"keyboard(" + std::to_string(key) + ")", [=] { keyboard(static_cast<unsigned char>(key), x, y); }};
    }
    if (kind < 800) {
        const int key = pick(-5, 300), x = pick(-10, 700), y = pick(-10, 700);
        return {"specialkeyboard(" + std::to_string(key) + ")", [=] { specialkeyboard(key, x, y); },
                key == GLUT_KEY_LEFT || key == GLUT_KEY_RIGHT};
    }
    if (kind < 900) {
        const int value = pick(-3, 12);
        return {"Visuale(" + std::to_string(value) + ")", [=] { Visuale(value); }, value == 3 || value == 4,
                value == 5};
    }
    if (kind < 960) {
        // Sizes from 0 x 0 up to 8192 x 8192, a zero side one time in eight.
        const int w = pick(0, 7) == 0 ? 0 : pick(0, 8192);
        const int h = pick(0, 7) == 0 ? 0 : pick(0, 8192);
        return {"reshape(" + std::to_string(w) + ", " + std::to_string(h) + ")", [=] { reshape(w, h); }};
    }
    if (kind < 990) return {"display()", display, false, false, true};
    // One pick in a hundred, half of them an animation (108 to 168 frames, a
    // few milliseconds each): about 40 animations, which keeps the soak well
    // under a minute.
    const int other = pick(-3, 9);  // -3..0 and 4..12
    const int value = pick(0, 1) == 0 ? pick(1, 3) : other < 1 ? other : other + 3;
    return {"Animazioni(" + std::to_string(value) + ")", [=] { Animazioni(value); }, false, false,
            value >= 1 && value <= 3};
}

}  // namespace

TEST(Soak, RandomInputsKeepStacksStateAndRangesSound)
{
    scene::reset();
    const GLint modelviewDepth = scene::integer(GL_MODELVIEW_STACK_DEPTH);
    const GLint projectionDepth = scene::integer(GL_PROJECTION_STACK_DEPTH);
    std::printf("soak: seed %u, %d inputs\n", kSeed, kInputs);
    std::mt19937 rng(kSeed);
    const auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };

    int animations = 0, edges = 0;
    for (int i = 0; i < kInputs;) {
        const Input input = randomInput(pick);
        // One input in twenty is held down, repeated up to 400 times: joints run
        // past their modulus and the view volume narrows through zero width.
        const int repeat = input.costly || pick(0, 19) != 0 ? 1 : pick(2, 400);
        animations += input.costly && input.what != "display()";
        for (int r = 0; r < repeat && i < kInputs; ++r, ++i) {
            const int headingBefore = direzione;
            input.give();

            const auto where = [&] { return "input " + std::to_string(i) + ": " + input.what; };
            ASSERT_EQ(scene::integer(GL_MODELVIEW_STACK_DEPTH), modelviewDepth) << where();
            ASSERT_EQ(scene::integer(GL_PROJECTION_STACK_DEPTH), projectionDepth) << where();
            ASSERT_EQ(scene::integer(GL_MATRIX_MODE), GL_MODELVIEW) << where();
            ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << where();
            for (const auto& j : joints) {
                ASSERT_LT(std::abs(*j.angle), j.modulus) << j.name << " = " << *j.angle << ", " << where();
                edges += j.modulus > 1 && std::abs(*j.angle) >= j.modulus - 3;
            }
            // Only turns change the heading: by a remainder of 360, or by exactly -180.
            if (input.remTurn)
                ASSERT_LT(std::abs(direzione), 360) << where();
            else
                ASSERT_EQ(direzione, headingBefore - (input.halfTurn ? 180 : 0)) << where();
            ASSERT_EQ(direzione % 3, 0) << where();
            // The view volume stays a square centred on the line of sight.
            ASSERT_TRUE(left == -right && bottom == -top && right == top) << where();
            ASSERT_TRUE(proiez == 0 || proiez == 1) << where();
            for (float v : scene::projection()) ASSERT_TRUE(std::isfinite(v)) << where();
            for (float v : scene::modelview()) ASSERT_TRUE(std::isfinite(v)) << where();
        }
    }
    // The run did reach what it checks: animations, and angles at their limits.
    std::printf("soak: %d animations played, %d angles seen within 3 of their modulus\n", animations, edges);
    EXPECT_GT(animations, 10);
    EXPECT_GT(edges, 100);
}
