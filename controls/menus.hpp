// The two pop-up menus: animations on the left button, the view on the right.
#pragma once

#include <cstdio>

void Animazioni(int value);  // 1 jump, 2 run, 3 walk
void Visuale(int value);     // 1-8: step, turn, widen, narrow, switch projection

// Builds both menus and attaches them: animations first, then the view.
void CostruiscoMenu();

// Writes each menu's button and entries, for --help.
void DescriviMenu(std::FILE* out);
