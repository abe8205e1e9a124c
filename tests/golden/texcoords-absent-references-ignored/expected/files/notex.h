#ifndef notex_H
#define notex_H

#include "model.h"

extern model notexModel;

#endif
