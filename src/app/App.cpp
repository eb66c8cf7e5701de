#include "app/App.h"

namespace vak {
int runApplication(HINSTANCE, int) { return 0; }
}  // namespace vak
