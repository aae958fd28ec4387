#pragma once

#include "swatch/match/lab.h"

// The CIEDE2000 colour difference with kL = kC = kH = 1, as Sharma, Wu and Dalal (2005) set it
// out. Always the same double for the same two colours: on an x87 build too, the result is
// rounded to double before it is returned, so that scans that compare results agree.
double Ciede2000(const Lab& x, const Lab& y);
