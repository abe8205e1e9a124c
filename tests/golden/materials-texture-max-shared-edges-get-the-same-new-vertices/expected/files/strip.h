#ifndef strip_H
#define strip_H

#include "model.h"

extern model stripModel;
extern Gfx stripPart_default[];

#endif
