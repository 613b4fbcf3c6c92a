// C_Thread is defined inline; this unit anchors the library.
#include "thread/thread.h"
