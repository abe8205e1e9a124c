#ifndef clamp_H
#define clamp_H

#include "model.h"

extern model clampModel;

#endif
