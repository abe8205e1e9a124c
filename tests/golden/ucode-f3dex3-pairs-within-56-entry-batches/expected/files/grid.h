#ifndef grid_H
#define grid_H

#include "model.h"

extern model gridModel;

#endif
