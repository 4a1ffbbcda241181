#include "animation/phases.hpp"

#include "figure/skeleton.hpp"

void Riproduci(const Fase& fase)
{
    for (int k = 1; k <= fase.fotogrammi; ++k) {
        for (const Variazione& v : fase.variazioni) {
            if (v.angolo == nullptr) break;
            *v.angolo += v.passo;
        }
        if (fase.moto != nullptr) fase.moto(k);
        display();
    }
}
