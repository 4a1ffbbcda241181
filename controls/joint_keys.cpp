#include "controls/joint_keys.hpp"

#include <GL/freeglut.h>

#include "app/scene_state.hpp"

using namespace scena;

namespace {

// Keys are case-sensitive. "z" stands every joint to 0 (Attenti); any other key
// does nothing, and there is no quit key.
struct TastoGiunto {
    int* angolo;
    unsigned char piu, meno;  // +3 and -3
    int modulo;
    const char* cosa;  // for --help: the joint, and the way each key moves it, `piu`'s first
};

// clang-format off
const TastoGiunto tastiGiunti[] = {
    {&spallasinz, '2', '1', 360, "left shoulder: out / in"},
    {&spallasinx, '3', '4', 360, "left shoulder: back / forward"},
    {&spalladesz, '6', '5', 360, "right shoulder: in / out"},
    {&spalladesx, '7', '8', 360, "right shoulder: back / forward"},
    {&gomsinx,    '0', '9', 180, "left elbow: back / forward"},
    {&gomdesx,    'w', 'q', 180, "right elbow: back / forward"},
    {&polsosinz,  'e', 'r', 90,  "left wrist: out / in"},
    {&polsodesz,  't', 'y', 90,  "right wrist: in / out"},
    {&gamsinx,    'i', 'u', 180, "left hip: back / forward"},
    {&gamdesx,    'p', 'o', 180, "right hip: back / forward"},
    {&gamsinz,    'b', 'v', 90,  "left hip: out / in"},
    {&gamdesz,    'x', 'c', 90,  "right hip: in / out"},
    {&ginsinx,    'a', 's', 180, "left knee: back / forward"},
    {&gindesx,    'd', 'f', 180, "right knee: back / forward"},
    {&cavsinx,    'g', 'h', 180, "left ankle: toes down / up"},
    {&cavdesx,    'j', 'k', 180, "right ankle: toes down / up"},
};
// clang-format on

constexpr int passo = 3;
constexpr unsigned char tastoAttenti = 'z';

}  // namespace

void keyboard(unsigned char key, int, int)
{
    if (key == tastoAttenti) {
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

void DescriviTasti(std::FILE* out)
{
    // Each pair is written in the table's order, `piu` first, and its words
    // name `piu`'s way first, so that every pair reads the same way here, in
    // the README, the manual page and the key map.
    std::fprintf(out,
                 "Keys come in pairs: the first key moves its part the way named first, the\n"
                 "second the other way, %d degrees a press (the arrow keys Up and Down: 1 unit).\n",
                 passo);
    int colonna = 0;
    for (const TastoGiunto& t : tastiGiunti)
        std::fprintf(out, ++colonna % 2 ? "  %c/%c  %-33s" : "  %c/%c  %s\n", t.piu, t.meno, t.cosa);
    std::fprintf(out, "  %c    every joint to 0\n", tastoAttenti);
}
