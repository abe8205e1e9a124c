#ifndef box_H
#define box_H

#include "model.h"

extern model boxModel;
extern Gfx boxPart_default[];

#endif
