#ifndef ship_H
#define ship_H

#include "model.h"

extern model shipModel;

#endif
