#ifndef _3d_ship_H
#define _3d_ship_H

#include "model.h"

extern model _3d_shipModel;

#endif
