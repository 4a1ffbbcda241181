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
    const char* cosa;  // the joint, in words, for --help
};

// clang-format off
const TastoGiunto tastiGiunti[] = {
    {&spallasinz, '2', '1', 360, "left shoulder, sideways"},
    {&spallasinx, '3', '4', 360, "left shoulder, back and forth"},
    {&spalladesz, '6', '5', 360, "right shoulder, sideways"},
    {&spalladesx, '7', '8', 360, "right shoulder, back and forth"},
    {&gomsinx,    '0', '9', 180, "left elbow"},
    {&gomdesx,    'w', 'q', 180, "right elbow"},
    {&polsosinz,  'e', 'r', 90,  "left wrist"},
    {&polsodesz,  't', 'y', 90,  "right wrist"},
    {&gamsinx,    'i', 'u', 180, "left hip, back and forth"},
    {&gamdesx,    'p', 'o', 180, "right hip, back and forth"},
    {&gamsinz,    'b', 'v', 90,  "left hip, sideways"},
    {&gamdesz,    'x', 'c', 90,  "right hip, sideways"},
    {&ginsinx,    'a', 's', 180, "left knee"},
    {&gindesx,    'd', 'f', 180, "right knee"},
    {&cavsinx,    'g', 'h', 180, "left ankle"},
    {&cavdesx,    'j', 'k', 180, "right ankle"},
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
    std::fprintf(out, "Keys: the first of each pair adds %d degrees, the second takes %d away.\n", passo,
                 passo);
    int colonna = 0;
    for (const TastoGiunto& t : tastiGiunti)
        std::fprintf(out, ++colonna % 2 ? "  %c/%c  %-31s" : "  %c/%c  %s\n", t.piu, t.meno, t.cosa);
    std::fprintf(out, "  %c    every joint to 0\n", tastoAttenti);
}
