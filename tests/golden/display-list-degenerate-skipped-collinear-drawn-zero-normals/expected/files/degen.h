#ifndef degen_H
#define degen_H

#include "model.h"

extern model degenModel;

#endif
