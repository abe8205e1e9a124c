#ifndef fan_H
#define fan_H

#include "model.h"

extern model fanModel;

#endif
