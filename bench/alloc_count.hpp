// Heap allocations counted while a window is open. Two counts:
// - totale: every malloc-family call in the process, from any library or thread
//   (this binary defines malloc and friends, so libGL, Mesa, GLU, GLUT and
//   libstdc++ all come here);
// - progetto: calls made directly from code linked into this binary, that is
//   the program's own objects (linked with --wrap for malloc and operator new).
//   Allocations that the program causes inside a library count in totale only.
#pragma once

#include <cstdint>

struct Allocazioni {
    std::uint64_t progetto = 0;
    std::uint64_t totale = 0;
};

void IniziaConteggio();
Allocazioni FineConteggio();
