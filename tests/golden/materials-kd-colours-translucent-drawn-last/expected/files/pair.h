#ifndef pair_H
#define pair_H

#include "model.h"

extern model pairModel;
extern Gfx pairPart_default[];

#endif
