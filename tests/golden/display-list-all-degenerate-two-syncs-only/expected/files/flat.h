#ifndef flat_H
#define flat_H

#include "model.h"

extern model flatModel;

#endif
