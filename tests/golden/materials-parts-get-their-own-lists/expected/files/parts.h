#ifndef parts_H
#define parts_H

#include "model.h"

extern model partsModel;
extern Gfx partsPart_default[];
extern Gfx partsPart_left_arm[];
extern Gfx partsPart_right_arm[];

#endif
