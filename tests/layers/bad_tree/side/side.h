#include "high/high.h"
#include "high/internal/detail.h"
#include "low/low.h"
