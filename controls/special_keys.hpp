// The special-key callback: head and torso on F1-F12, turns and steps on the arrows.
#pragma once

#include <cstdio>

void specialkeyboard(int key, int x, int y);

// Writes the key pairs and what each does, two to a line, for --help.
void DescriviTastiSpeciali(std::FILE* out);
