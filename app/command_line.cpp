#include "app/command_line.hpp"

#include <cstring>

#include "app/scene_state.hpp"
#include "app/window_system.hpp"
#include "controls/joint_keys.hpp"
#include "controls/menus.hpp"
#include "controls/special_keys.hpp"

using namespace scena;

namespace {

// GLUT's options that take the next argument as their value, whatever it is.
bool ConValore(const char* arg)
{
    return std::strcmp(arg, "-display") == 0 || std::strcmp(arg, "-geometry") == 0;
}

}  // namespace

bool Aiuto(int argc, char** argv, std::FILE* out)
{
    // As in GNU programs, --help and --version count anywhere on the command
    // line, and the first of them wins; but an argument GLUT takes as an
    // option's value is no option: "-display --help" names a display, as GLUT
    // reads it.
    for (int i = 1; i < argc; ++i) {
        if (ConValore(argv[i])) {
            ++i;
            continue;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::fprintf(out, "pavok %s\n", PAVOK_VERSION);
            return true;
        }
        if (std::strcmp(argv[i], "--help") != 0) continue;
        // The program asks for its window's size and place after GLUT has read
        // the command line, which is why -geometry changes nothing; a window
        // manager still has the last word on the place.
        std::fprintf(out,
                     "Usage: pavok [--help | --version | GLUT options]\n"
                     "Poses a lit, articulated human figure from the keyboard and makes it jump,\n"
                     "run and walk from pop-up menus. Other arguments go to GLUT: -display NAME\n"
                     "opens the window on another X server; -geometry has no effect, the program\n"
                     "asks for a %d x %d window at the top-left corner (a window manager or a\n"
                     "Wayland compositor may put it elsewhere).\n\n",
                     w0, h0);
        DescriviTasti(out);
        DescriviTastiSpeciali(out);
        DescriviMenu(out);
        return true;
    }
    return false;
}

void RicordoSchermo(int argc, char** argv)
{
    const char* nome = nullptr;  // GLUT's own default: $DISPLAY
    for (int i = 1; i + 1 < argc; ++i) {
        if (!ConValore(argv[i])) continue;
        if (std::strcmp(argv[i], "-display") == 0) nome = argv[i + 1];  // the last one counts
        ++i;
    }
    schermo = NomeSchermo(nome);
}
