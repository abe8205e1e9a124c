#ifndef _1_H
#define _1_H

#include "model.h"

extern model _1Model;

#endif
