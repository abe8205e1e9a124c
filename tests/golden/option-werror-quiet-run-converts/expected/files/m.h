#ifndef m_H
#define m_H

#include "model.h"

extern model mModel;

#endif
