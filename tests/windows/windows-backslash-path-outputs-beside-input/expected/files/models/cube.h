#ifndef cube_H
#define cube_H

#include "model.h"

extern model cubeModel;

#endif
