#pragma once
// Shared by the fuzz harnesses: a check that stops the run with a message
// (libFuzzer then keeps the input that made it fail), and the pieces a
// harness cuts its input into.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// Not assert(): the harnesses are built with NDEBUG too.
#define FUZZ_CHECK(cond) ((cond) ? static_cast<void>(0) : ::vakfuzz::fail(#cond, __FILE__, __LINE__))

namespace vakfuzz {

[[noreturn]] inline void fail(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what);
  std::abort();
}

inline std::string text(const std::uint8_t* data, std::size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

// The text up to the first line feed, which is removed from rest with it
// (all of rest when there is none). Seeds stay readable text files this way.
inline std::string takeLine(std::string& rest) {
  const std::size_t end = rest.find('\n');
  std::string line = rest.substr(0, end);
  rest = end == std::string::npos ? std::string() : rest.substr(end + 1);
  return line;
}

}  // namespace vakfuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
