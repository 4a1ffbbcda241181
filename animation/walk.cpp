#include "animation/walk.hpp"

#include <cmath>

#include "animation/phases.hpp"
#include "app/scene_state.hpp"
#include "view/placement.hpp"

namespace {

// One stride per frame, single precision; set at the start of each walk.
// 3.14/180 is one degree (pi taken as 3.14), the hips' step per frame, and
// 9.8 the straight leg from hip to ankle.
float w = 0;

void Passo(int) { Avanza(w); }

constexpr int anca = 1, ginocchio = 4, spalla = 1;  // degrees per frame

// clang-format off
// Right leg forward: right arm back, left arm forward.
#define DESTRA_AVANTI {&spallasinx, -spalla}, {&spalladesx, +spalla}, {&gamsinx, +anca}, {&gamdesx, -anca}
// Left leg forward: left arm back, right arm forward.
#define SINISTRA_AVANTI {&spallasinx, +spalla}, {&spalladesx, -spalla}, {&gamdesx, +anca}, {&gamsinx, -anca}

const Fase avvioPiega = {4, {DESTRA_AVANTI, {&gindesx, +ginocchio}}, Passo};                 // 1
const Fase avvioDistende = {8, {DESTRA_AVANTI, {&gindesx, -ginocchio / 2}}, Passo};          // 2
const Fase sinistraPiega = {8, {SINISTRA_AVANTI, {&ginsinx, +ginocchio}}, Passo};            // 3a
const Fase sinistraDistende = {8, {SINISTRA_AVANTI, {&ginsinx, -ginocchio / 2}}, Passo};     // 3b, 3c
const Fase destraPiega = {8, {DESTRA_AVANTI, {&gindesx, +ginocchio}}, Passo};                // 3d
const Fase destraDistende = {8, {DESTRA_AVANTI, {&gindesx, -ginocchio / 2}}, Passo};         // 3e, 3f
const Fase arrestoPiega = {8, {SINISTRA_AVANTI, {&ginsinx, +ginocchio / 2}}, Passo};         // 4
const Fase arrestoDistende = {4, {SINISTRA_AVANTI, {&ginsinx, -ginocchio}}, Passo};          // 5

#undef DESTRA_AVANTI
#undef SINISTRA_AVANTI

// Each cycle ends in the pose that phase 2 ends in, so the cycles repeat exactly.
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
