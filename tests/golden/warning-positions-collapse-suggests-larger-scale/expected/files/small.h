#ifndef small_H
#define small_H

#include "model.h"

extern model smallModel;

#endif
