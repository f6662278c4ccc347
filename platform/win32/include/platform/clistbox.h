// The same declarations as the core's: they hold no window emulation.
#include "../../../core/include/platform/clistbox.h"
