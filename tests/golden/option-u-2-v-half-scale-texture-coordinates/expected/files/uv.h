#ifndef uv_H
#define uv_H

#include "model.h"

extern model uvModel;

#endif
