#ifndef tex_H
#define tex_H

#include "model.h"

extern model texModel;

#endif
