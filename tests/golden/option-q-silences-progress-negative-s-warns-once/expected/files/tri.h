#ifndef tri_H
#define tri_H

#include "model.h"

extern model triModel;

#endif
