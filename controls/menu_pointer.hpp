// Pop-up menus that choose the entry under the pointer wherever the window is
// on the screen, not only when its inside sits at the screen's top-left corner.
#pragma once

// Once, after the menus are attached, with the window's GL context current.
void CorreggoMenu();
