#pragma once
// Starting programs and web pages through the shell, and ending the process:
// one replaceable seam, so tests can observe both without a browser opening
// or the test process ending.
#include <string>

namespace vak {

class ShellSeam {
 public:
  virtual ~ShellSeam() = default;
  // ShellExecute "open" without owner window, no parameters, no working
  // folder; true when the shell started it. file is a path as the file
  // functions take it, or an address.
  virtual bool open(const std::string& file, int showCommand) = 0;
  // Ends the process at once with the exit code: nothing else runs. (A test's
  // seam returns; the caller then returns at once as well.)
  virtual void exitProcess(unsigned code) = 0;
};

ShellSeam& shell();
// Installs a seam; nullptr restores the real one. Returns the previous.
ShellSeam* setShell(ShellSeam* seam);

}  // namespace vak
