#ifndef big_H
#define big_H

#include "model.h"

extern model bigModel;

#endif
