// The status set model is header-only; this unit keeps the header compiling on its own.
#include "status/StatusModel.h"
