#ifndef part_H
#define part_H

#include "model.h"

extern model partModel;

#endif
