#ifndef vrow_H
#define vrow_H

#include "model.h"

extern model vrowModel;

#endif
