#pragma once
// The program's handlers that read and write ICQ's data and status files,
// each against the same registry and file calls made bare in a loop.
#include <string>
#include <vector>

#include "Stats.h"

namespace bench {

struct OperationRow {
  std::string name;
  Series vak;   // ms per run
  Series bare;  // ms per run
};

// Creates the program's windows in this process on the profile ICQ used last,
// with workFolder as the program folder, and measures `runs` rounds of each
// operation (one more round first, not counted). Empty and error set when the
// program reported an error.
std::vector<OperationRow> measureOperations(const std::string& workFolder, int runs, std::string& error);

}  // namespace bench
