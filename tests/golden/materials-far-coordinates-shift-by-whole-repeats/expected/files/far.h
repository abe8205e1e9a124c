#ifndef far_H
#define far_H

#include "model.h"

extern model farModel;
extern Gfx farPart_default[];

#endif
