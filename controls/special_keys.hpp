// The special-key callback: head and torso on F1-F12, turns and steps on the arrows.
#pragma once

void specialkeyboard(int key, int x, int y);
