#ifndef quad_H
#define quad_H

#include "model.h"

extern model quadModel;
extern Gfx quadPart_default[];

#endif
