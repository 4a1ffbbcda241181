#include "controls/special_keys.hpp"

#include <GL/freeglut.h>

#include "app/scene_state.hpp"
#include "view/placement.hpp"

namespace {

// Key      change              Key      change
//   F1     head z +3 (rem 90)    F7     torso z +3 (rem 50)
//   F2     head z -3             F8     torso z -3
//   F3     head x +3             F9     torso y +3 (rem 90)
//   F4     head x -3             F10    torso y -3
//   F5     head y +3             F11    torso x +3 (rem 180)
//   F6     head y -3             F12    torso x -3
//   Left   heading +3 (rem 360)  Up     1 unit forward along the heading
//   Right  heading -3            Down   1 unit back
// Every other special key does nothing.
struct TastoSpeciale {
    int codice;
    int* angolo;  // nullptr: a step along the heading of `passo` units instead
    int passo;
    int modulo;
};

// clang-format off
const TastoSpeciale tastiSpeciali[] = {
    {GLUT_KEY_F1, &colloz, +3, 90},      {GLUT_KEY_F2, &colloz, -3, 90},
    {GLUT_KEY_F3, &collox, +3, 90},      {GLUT_KEY_F4, &collox, -3, 90},
    {GLUT_KEY_F5, &colloy, +3, 90},      {GLUT_KEY_F6, &colloy, -3, 90},
    // 50 is no multiple of 3: the torso's z angle wraps to small values, not to 0.
    {GLUT_KEY_F7, &panciaz, +3, 50},     {GLUT_KEY_F8, &panciaz, -3, 50},
    {GLUT_KEY_F9, &panciay, +3, 90},     {GLUT_KEY_F10, &panciay, -3, 90},
    {GLUT_KEY_F11, &panciax, +3, 180},   {GLUT_KEY_F12, &panciax, -3, 180},
    {GLUT_KEY_LEFT, &direzione, +3, 360}, {GLUT_KEY_RIGHT, &direzione, -3, 360},
    {GLUT_KEY_UP, nullptr, +1, 0},       {GLUT_KEY_DOWN, nullptr, -1, 0},
};
// clang-format on

}  // namespace

void specialkeyboard(int key, int, int)
{
    for (const TastoSpeciale& t : tastiSpeciali) {
        if (key != t.codice) continue;
        if (t.angolo != nullptr)
            *t.angolo = (*t.angolo + t.passo) % t.modulo;
        else
            Avanza(t.passo);
        glutPostRedisplay();
        return;
    }
}
