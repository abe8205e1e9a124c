#ifndef my__1__hip_H
#define my__1__hip_H

#include "model.h"

extern model my__1__hipModel;
extern Gfx my__1__hipPart_default[];

#endif
