#ifndef ship_model_H
#define ship_model_H

#include "model.h"

extern model ship_modelModel;

#endif
