#include "animation/walk.hpp"

#include <cmath>

#include "animation/phases.hpp"
#include "app/scene_state.hpp"
#include "view/placement.hpp"

using namespace scena;

namespace {

// One stride per frame, single precision; set at the start of each walk.
// 3.14/180 is one degree (pi taken as 3.14), the hips' step per frame, and
// 9.8 the straight leg from hip to ankle.
float w = 0;

void Passo(int) { Avanza(w); }

constexpr int anca = 1, ginocchio = 4, spalla = 1;  // degrees per frame

// clang-format off
// Arms swing against the legs: the right leg goes forward with the left arm.
// Each row: frames; per frame, left and right shoulder, then left and right hip and
// one knee; the move.
const Fase avvioPiega       = {4, {{&spallasinx, -spalla}, {&spalladesx, +spalla},
                                   {&gamsinx, +anca}, {&gamdesx, -anca}, {&gindesx, +ginocchio}},     Passo};
const Fase avvioDistende    = {8, {{&spallasinx, -spalla}, {&spalladesx, +spalla},
                                   {&gamsinx, +anca}, {&gamdesx, -anca}, {&gindesx, -ginocchio / 2}}, Passo};
const Fase sinistraPiega    = {8, {{&spallasinx, +spalla}, {&spalladesx, -spalla},
                                   {&gamsinx, -anca}, {&gamdesx, +anca}, {&ginsinx, +ginocchio}},     Passo};
const Fase sinistraDistende = {8, {{&spallasinx, +spalla}, {&spalladesx, -spalla},
                                   {&gamsinx, -anca}, {&gamdesx, +anca}, {&ginsinx, -ginocchio / 2}}, Passo};
const Fase destraPiega      = {8, {{&spallasinx, -spalla}, {&spalladesx, +spalla},
                                   {&gamsinx, +anca}, {&gamdesx, -anca}, {&gindesx, +ginocchio}},     Passo};
const Fase destraDistende   = {8, {{&spallasinx, -spalla}, {&spalladesx, +spalla},
                                   {&gamsinx, +anca}, {&gamdesx, -anca}, {&gindesx, -ginocchio / 2}}, Passo};
const Fase arrestoPiega     = {8, {{&spallasinx, +spalla}, {&spalladesx, -spalla},
                                   {&gamsinx, -anca}, {&gamdesx, +anca}, {&ginsinx, +ginocchio / 2}}, Passo};
const Fase arrestoDistende  = {4, {{&spallasinx, +spalla}, {&spalladesx, -spalla},
                                   {&gamsinx, -anca}, {&gamdesx, +anca}, {&ginsinx, -ginocchio}},     Passo};

// A starting half-step with the right leg, three cycles of a left and a right
// step (each ends in the pose the half-step ends in, so they repeat exactly),
// and a closing half-step with the left leg back to the straight pose.
const Fase* const camminata[] = {
    &avvioPiega, &avvioDistende,
    &sinistraPiega, &sinistraDistende, &sinistraDistende, &destraPiega, &destraDistende, &destraDistende,
    &sinistraPiega, &sinistraDistende, &sinistraDistende, &destraPiega, &destraDistende, &destraDistende,
    &sinistraPiega, &sinistraDistende, &sinistraDistende, &destraPiega, &destraDistende, &destraDistende,
    &arrestoPiega, &arrestoDistende,
};
// clang-format on

}  // namespace

void Cammina()
{
    w = static_cast<float>(9.8 * std::sin(3.14 / 180));
    Attenti();  // no frame of its own: the first frame already has one step applied
    for (const Fase* fase : camminata) Riproduci(*fase);
}
