#ifndef seam_H
#define seam_H

#include "model.h"

extern model seamModel;
extern Gfx seamPart_default[];

#endif
