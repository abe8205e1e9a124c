#ifndef rows_H
#define rows_H

#include "model.h"

extern model rowsModel;

#endif
