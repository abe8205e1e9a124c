#ifndef strip_H
#define strip_H

#include "model.h"

extern model stripModel;

#endif
