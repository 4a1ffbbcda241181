// An animation is a table of phases; each frame of a phase changes some joints,
// makes at most one move, then draws. Nothing waits: frames play at drawing speed.
#pragma once

struct Variazione {
    int* angolo;  // nullptr ends a phase's changes
    int passo;    // whole degrees added each frame, with no remainder
};

struct Fase {
    int fotogrammi;
    Variazione variazioni[9];
    void (*moto)(int k);  // the move of the phase's k-th frame (1-based); nullptr: none
};

// Plays every frame of one phase.
void Riproduci(const Fase& fase);
