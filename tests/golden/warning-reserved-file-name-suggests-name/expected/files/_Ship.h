#ifndef _Ship_H
#define _Ship_H

#include "model.h"

extern model _ShipModel;

#endif
