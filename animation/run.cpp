#include "animation/run.hpp"

#include <cmath>

#include "animation/phases.hpp"
#include "app/scene_state.hpp"
#include "figure/skeleton.hpp"
#include "view/placement.hpp"

using namespace scena;

namespace {

// One stride per frame, single precision; set at the start of each run.
// 3.14/45 is 4 degrees (pi taken as 3.14), the hips' step per frame.
float s = 0;

void Passo(int) { Avanza(s); }
void PassoLento(int) { Avanza(s * 0.8); }  // a double product, not narrowed again

// clang-format off
const Fase avvio = {7, {{&gamsinx, +4}, {&gamdesx, -4}, {&ginsinx, +8}, {&spalladesx, +4},
                        {&spallasinx, -4}, {&gomdesx, -12}, {&gomsinx, -12}}, Passo};
const Fase destraIndietro = {15, {{&gamdesx, +4}, {&gamsinx, -4}, {&gindesx, +4}, {&ginsinx, -4},
                                  {&spallasinx, +4}, {&spalladesx, -4}}, Passo};
const Fase sinistraIndietro = {15, {{&gamsinx, +4}, {&gamdesx, -4}, {&ginsinx, +4}, {&gindesx, -4},
                                    {&spalladesx, +4}, {&spallasinx, -4}}, Passo};
const Fase rallenta = {10, {{&gamdesx, +3}, {&gamsinx, -3}, {&ginsinx, -6}, {&gomdesx, +9},
                            {&gomsinx, +9}, {&spallasinx, +3}, {&spalladesx, -3}}, PassoLento};

const Fase* const corsa[] = {
    &avvio,
    &destraIndietro, &sinistraIndietro,
    &destraIndietro, &sinistraIndietro,
    &destraIndietro, &sinistraIndietro,
    &rallenta,
};
// clang-format on

}  // namespace

void Corri()
{
    s = static_cast<float>(9.7 * std::sin(3.14 / 45));

    // The run starts from the user's pose: only these nine joints are set.
    spalladesx = 2;
    spallasinx = -2;
    gomdesx = -6;
    gomsinx = -6;
    panciax = 0;
    gamdesx = -2;
    gindesx = 0;
    gamsinx = 2;
    ginsinx = 6;
    display();  // frame 0: the start pose, before any move

    for (const Fase* fase : corsa) Riproduci(*fase);
}
