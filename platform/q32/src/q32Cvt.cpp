#include "q32Cvt.h"
