#include "controls/joint_keys.hpp"

#include <GL/freeglut.h>

#include "app/scene_state.hpp"

namespace {

// Keys (case-sensitive)                         joint
//   2 / 1   left shoulder, sideways (z)         spallasinz   +3 / -3, rem 360
//   3 / 4   left shoulder, back/forth (x)       spallasinx
//   6 / 5   right shoulder, sideways (z)        spalladesz
//   7 / 8   right shoulder, back/forth (x)      spalladesx
//   0 / 9   left elbow                          gomsinx      rem 180
//   w / q   right elbow                         gomdesx
//   e / r   left wrist                          polsosinz    rem 90
//   t / y   right wrist                         polsodesz
//   i / u   left hip, back/forth (x)            gamsinx      rem 180
//   p / o   right hip, back/forth (x)           gamdesx
//   b / v   left hip, sideways (z)              gamsinz      rem 90
//   x / c   right hip, sideways (z)             gamdesz
//   a / s   left knee                           ginsinx      rem 180
//   d / f   right knee                          gindesx
//   g / h   left ankle                          cavsinx
//   j / k   right ankle                         cavdesx
//   z       every joint to 0 (Attenti)
// Any other key does nothing; there is no quit key.
struct TastoGiunto {
    int* angolo;
    unsigned char piu, meno;  // +3 and -3
    int modulo;
};

const TastoGiunto tastiGiunti[] = {
    {&spallasinz, '2', '1', 360}, {&spallasinx, '3', '4', 360}, {&spalladesz, '6', '5', 360},
    {&spalladesx, '7', '8', 360}, {&gomsinx, '0', '9', 180},    {&gomdesx, 'w', 'q', 180},
    {&polsosinz, 'e', 'r', 90},   {&polsodesz, 't', 'y', 90},   {&gamsinx, 'i', 'u', 180},
    {&gamdesx, 'p', 'o', 180},    {&gamsinz, 'b', 'v', 90},     {&gamdesz, 'x', 'c', 90},
    {&ginsinx, 'a', 's', 180},    {&gindesx, 'd', 'f', 180},    {&cavsinx, 'g', 'h', 180},
    {&cavdesx, 'j', 'k', 180},
};

constexpr int passo = 3;

}  // namespace

void keyboard(unsigned char key, int, int)
{
    if (key == 'z') {
        Attenti();
        glutPostRedisplay();
        return;
    }
    for (const TastoGiunto& t : tastiGiunti) {
        if (key != t.piu && key != t.meno) continue;
        // % truncates, so the angle keeps its sign and stays inside (-modulo, modulo),
        // whatever an animation left in it.
        *t.angolo = (*t.angolo + (key == t.piu ? passo : -passo)) % t.modulo;
        glutPostRedisplay();
        return;
    }
}
