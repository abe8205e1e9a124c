#ifndef cw_H
#define cw_H

#include "model.h"

extern model cwModel;

#endif
