// The keyboard callback: limb joints three degrees a key, "z" to attention.
#pragma once

#include <cstdio>

void keyboard(unsigned char key, int x, int y);

// Writes the key pairs and what each turns, two to a line, for --help.
void DescriviTasti(std::FILE* out);
