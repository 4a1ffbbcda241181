#include "app/scene_state.hpp"

using namespace scena;

void Attenti()
{
    gamsinx = gamsinz = gamdesx = gamdesz = 0;
    ginsinx = gindesx = cavsinx = cavdesx = 0;
    panciax = panciay = panciaz = 0;
    collox = colloy = colloz = 0;
    spallasinx = spallasiny = spallasinz = 0;
    spalladesx = spalladesy = spalladesz = 0;
    gomsinx = gomdesx = polsosinz = polsodesz = 0;
}
