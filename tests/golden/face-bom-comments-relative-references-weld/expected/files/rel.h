#ifndef rel_H
#define rel_H

#include "model.h"

extern model relModel;

#endif
