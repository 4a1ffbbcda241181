#include "animation/jump.hpp"

#include <GL/gl.h>

#include <cmath>

#include "animation/phases.hpp"
#include "app/scene_state.hpp"

using namespace scena;

namespace {

void Solleva(double dy) { glTranslatef(0, static_cast<GLfloat>(dy), 0); }

// Both cosine profiles cover the same height: 20 x 0.0349 = 10 x 0.0698 = 0.698.
void Accovacciata(int k)
{
    const int i = k;
    Solleva(-(std::cos((i - 1) * 0.0349) - std::cos(i * 0.0349)) * 9.8);
}

void Spinta(int k)
{
    const int i = 11 - k;  // largest push first
    Solleva((std::cos((i - 1) * 0.0698) - std::cos(i * 0.0698)) * 9.8);
}

// The constant steps are single-precision and the descents their exact
// negations, so they cancel exactly.
void Sali(int) { Solleva(0.3f); }
void SaliPiano(int) { Solleva(0.2f); }
void ScendiPiano(int) { Solleva(-0.2f); }
void Scendi(int) { Solleva(-0.3f); }

// clang-format off
const Fase salto[] = {
    // frames  joint changes per frame                              move
    {20, {{&gamdesx, -2}, {&gamsinx, -2}, {&ginsinx, +4}, {&gindesx, +4},
          {&cavsinx, -2}, {&cavdesx, -2}},                          Accovacciata},  // 1 crouch
    {10, {{&gamdesx, +4}, {&gamsinx, +4}, {&ginsinx, -8}, {&gindesx, -8}, {&cavsinx, +4},
          {&cavdesx, +4}, {&spalladesz, -9}, {&spallasinz, +9}},    Spinta},        // 2 push-off
    {10, {{&spalladesz, -9}, {&spallasinz, +9},
          {&cavsinx, +3}, {&cavdesx, +3}},                          Sali},          // 3 rise, arms up
    {10, {{&cavsinx, +3}, {&cavdesx, +3}},                          Sali},          // 4 rise, feet
    {10, {},                                                        Sali},          // 5 rise
    {10, {},                                                        SaliPiano},     // 6 slow rise
    {5,  {},                                                        nullptr},       // 7 hover
    {10, {},                                                        ScendiPiano},   // 8 slow descent
    {10, {},                                                        Scendi},        // 9 descent
    {20, {{&spalladesz, +9}, {&spallasinz, -9},
          {&cavsinx, -3}, {&cavdesx, -3}},                          Scendi},        // 10 landing
};
// clang-format on

}  // namespace

void Salta()
{
    Attenti();
    for (const Fase& fase : salto) Riproduci(fase);
}
