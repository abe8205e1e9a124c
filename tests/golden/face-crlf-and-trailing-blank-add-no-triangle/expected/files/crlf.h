#ifndef crlf_H
#define crlf_H

#include "model.h"

extern model crlfModel;

#endif
