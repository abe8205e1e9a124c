#ifndef frac_H
#define frac_H

#include "model.h"

extern model fracModel;

#endif
