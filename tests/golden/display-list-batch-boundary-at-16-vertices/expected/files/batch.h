#ifndef batch_H
#define batch_H

#include "model.h"

extern model batchModel;

#endif
