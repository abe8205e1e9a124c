#ifndef corner_H
#define corner_H

#include "model.h"

extern model cornerModel;

#endif
