#include <SDL.h>
#include "side/side.h"
#include "unknown/thing.h"
