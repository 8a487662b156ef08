#include "q32Base.h"
