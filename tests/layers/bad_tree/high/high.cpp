#include "low/low.h"
#include "high/internal/detail.h"
