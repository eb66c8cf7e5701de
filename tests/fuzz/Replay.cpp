// The harnesses without libFuzzer: runs each file named (or each file of a
// folder named) once, so a compiler without libFuzzer still checks the seeds,
// and prints the slowest input. Exit code 0 when every input passed (a failed
// check aborts).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzCheck.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  std::vector<fs::path> files;
  for (int i = 1; i < argc; ++i) {
    const fs::path p(argv[i]);
    if (fs::is_directory(p)) {
      for (const auto& e : fs::directory_iterator(p))
        if (e.is_regular_file()) files.push_back(e.path());
    } else {
      files.push_back(p);
    }
  }
  std::sort(files.begin(), files.end());
  double slowest = 0;
  std::string slowestName;
  for (const fs::path& f : files) {
    std::ifstream in(f, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto start = std::chrono::steady_clock::now();
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (s >= slowest) slowest = s, slowestName = f.string();
  }
  std::printf("%zu inputs passed; slowest %.3f s (%s)\n", files.size(), slowest, slowestName.c_str());
  return files.empty() ? 1 : 0;
}
