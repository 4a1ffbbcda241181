// Frames under callgrind: start-up and warm-up uncollected, then only the given
// number of frames, so the instruction counts are per frame and deterministic.
//   pavok-bench-frames frame|floor N
#include <GL/gl.h>
#include <valgrind/callgrind.h>

#include <cstdlib>
#include <cstring>

#include "bench/window.hpp"
#include "figure/skeleton.hpp"

int main(int argc, char** argv)
{
    const bool vuoto = argc > 1 && std::strcmp(argv[1], "floor") == 0;
    const int n = argc > 2 ? std::atoi(argv[2]) : 10;
    ApriFinestra();
    RiportaAllInizio();
    CALLGRIND_TOGGLE_COLLECT;
    for (int i = 0; i < n; ++i) vuoto ? FrameVuoto() : display();
    glFinish();
    CALLGRIND_TOGGLE_COLLECT;
    return 0;
}
