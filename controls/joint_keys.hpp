// The keyboard callback: limb joints three degrees a key, "z" to attention.
#pragma once

void keyboard(unsigned char key, int x, int y);
