#include "graphics/raster/raster_lock.h"

SpinLockWord RasterLock{0};
