#include "controls/special_keys.hpp"

#include <GL/freeglut.h>

#include "app/scene_state.hpp"
#include "view/placement.hpp"

using namespace scena;

namespace {

// Function and arrow keys in pairs: the first adds `passo` to its angle, the
// second takes it away. Every other special key does nothing.
struct TastoSpeciale {
    int piu, meno;  // GLUT key codes
    int* angolo;    // nullptr: a step along the heading of `passo` units instead
    int passo;
    int modulo;
    const char* cosa;  // for --help: the part, and the way each key moves it, `piu`'s first
};

// clang-format off
const TastoSpeciale tastiSpeciali[] = {
    {GLUT_KEY_F1,   GLUT_KEY_F2,    &colloz,    3, 90,  "head: tilts right / left"},
    {GLUT_KEY_F3,   GLUT_KEY_F4,    &collox,    3, 90,  "head: nods forward / back"},
    {GLUT_KEY_F5,   GLUT_KEY_F6,    &colloy,    3, 90,  "head: turns left / right"},
    // 50 is no multiple of 3: the torso's lean wraps to small values, not to 0.
    {GLUT_KEY_F7,   GLUT_KEY_F8,    &panciaz,   3, 50,  "torso: leans right / left"},
    {GLUT_KEY_F9,   GLUT_KEY_F10,   &panciay,   3, 90,  "torso: twists left / right"},
    {GLUT_KEY_F11,  GLUT_KEY_F12,   &panciax,   3, 180, "torso: bends forward / back"},
    {GLUT_KEY_LEFT, GLUT_KEY_RIGHT, &direzione, 3, 360, "figure: turns left / right"},
    {GLUT_KEY_UP,   GLUT_KEY_DOWN,  nullptr,    1, 0,   "figure: moves forward / back"},
};
// clang-format on

const char* NomeTasto(int codice)
{
    static const char* const nomi[] = {"F1", "F2", "F3", "F4",  "F5",  "F6",
                                       "F7", "F8", "F9", "F10", "F11", "F12"};
    static const char* const frecce[] = {"Left", "Up", "Right", "Down"};  // GLUT_KEY_LEFT on
    return codice >= GLUT_KEY_LEFT ? frecce[codice - GLUT_KEY_LEFT] : nomi[codice - GLUT_KEY_F1];
}

}  // namespace

void specialkeyboard(int key, int, int)
{
    for (const TastoSpeciale& t : tastiSpeciali) {
        if (key != t.piu && key != t.meno) continue;
        const int passo = key == t.piu ? t.passo : -t.passo;
        if (t.angolo != nullptr)
            *t.angolo = (*t.angolo + passo) % t.modulo;
        else
            Avanza(passo);
        glutPostRedisplay();
        return;
    }
}

void DescriviTastiSpeciali(std::FILE* out)
{
    int colonna = 0;
    for (const TastoSpeciale& t : tastiSpeciali) {
        char tasti[16];
        std::snprintf(tasti, sizeof tasti, "%s/%s", NomeTasto(t.piu), NomeTasto(t.meno));
        std::fprintf(out, ++colonna % 2 ? "  %-10s  %-26s" : "  %-7s  %s\n", tasti, t.cosa);
    }
}
