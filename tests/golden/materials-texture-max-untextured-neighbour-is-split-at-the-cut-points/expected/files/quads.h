#ifndef quads_H
#define quads_H

#include "model.h"

extern model quadsModel;
extern Gfx quadsPart_default[];

#endif
