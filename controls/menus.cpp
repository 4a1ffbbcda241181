#include "controls/menus.hpp"

#include <GL/freeglut.h>

#include <cstring>

#include "animation/jump.hpp"
#include "animation/run.hpp"
#include "animation/walk.hpp"
#include "view/placement.hpp"
#include "view/projection.hpp"

namespace {

struct Voce {
    const char* etichetta;
    int valore;
    void (*operazione)();
};

// clang-format off
const Voce vociAnimazioni[] = {
    {"Salta", 1, Salta},
    {"Corri", 2, Corri},
    {"Cammina", 3, Cammina},
};

const Voce vociVisuale[] = {
    {"Trasla indietro", 1, TraslaIndietro},
    {"Trasla avanti", 2, TraslaAvanti},
    {"Ruota a destra", 3, RuotaADestra},
    {"Ruota a sinistra", 4, RuotaASinistra},
    {"Ruota di 180 gradi", 5, Ruota180},
    {"Allarga visuale", 6, AllargaVisuale},
    {"Restringi visuale", 7, RestringiVisuale},
    {"Cambia proiezione", 8, CambiaProiezione},
};
// clang-format on

template <size_t N>
void Esegui(const Voce (&voci)[N], int valore)
{
    for (const Voce& v : voci)
        if (v.valore == valore) v.operazione();
}

template <size_t N>
void Menu(void (*gestore)(int), const Voce (&voci)[N], int bottone)
{
    glutCreateMenu(gestore);  // becomes current: entries and attachment apply to it
    for (const Voce& v : voci) glutAddMenuEntry(v.etichetta, v.valore);
    glutAttachMenu(bottone);
}

// The entries after the button's name, separated by commas, on lines of at
// most 79 columns that never split a label.
template <size_t N>
void Elenca(std::FILE* out, const char* bottone, const Voce (&voci)[N])
{
    int colonna = std::fprintf(out, "%s", bottone);
    for (size_t i = 0; i < N; ++i) {
        const char* dopo = i + 1 < N ? "," : "";
        const int larghezza = static_cast<int>(1 + std::strlen(voci[i].etichetta) + std::strlen(dopo));
        if (colonna + larghezza > 79) colonna = std::fprintf(out, "\n ") - 1;
        colonna += std::fprintf(out, " %s%s", voci[i].etichetta, dopo);
    }
    std::fputc('\n', out);
}

}  // namespace

// Neither handler redisplays: view operations post their own redisplay, and
// animations draw every frame themselves.
void Animazioni(int value) { Esegui(vociAnimazioni, value); }
void Visuale(int value) { Esegui(vociVisuale, value); }

void CostruiscoMenu()
{
    Menu(Animazioni, vociAnimazioni, GLUT_LEFT_BUTTON);
    Menu(Visuale, vociVisuale, GLUT_RIGHT_BUTTON);
}

void DescriviMenu(std::FILE* out)
{
    Elenca(out, "Left button: ", vociAnimazioni);
    Elenca(out, "Right button:", vociVisuale);
}
