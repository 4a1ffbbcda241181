// The immediate-mode peer of the figure: the same frame, but each body part's
// commands are issued directly every time instead of calling its list.
#pragma once

// While true, the program's glCallList calls (this binary links with
// --wrap=glCallList) issue the body part's commands instead of the list.
extern bool immediato;
