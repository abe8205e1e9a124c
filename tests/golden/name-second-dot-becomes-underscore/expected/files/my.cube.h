#ifndef my_cube_H
#define my_cube_H

#include "model.h"

extern model my_cubeModel;

#endif
