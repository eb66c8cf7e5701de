#include "platform/CommandLine.h"

namespace vak {

namespace {
bool blank(wchar_t c) { return c == L' ' || c == L'\t'; }
}  // namespace

std::vector<std::wstring> splitCommandLine(const std::wstring& line) {
  std::vector<std::wstring> args;
  const size_t n = line.size();
  size_t i = 0;
  // The program name: no escapes.
  std::wstring program;
  if (i < n && line[i] == L'"') {
    for (++i; i < n && line[i] != L'"'; ++i) program += line[i];
    if (i < n) ++i;
  } else {
    for (; i < n && !blank(line[i]); ++i) program += line[i];
  }
  args.push_back(program);

  for (;;) {
    while (i < n && blank(line[i])) ++i;
    if (i >= n) break;
    std::wstring arg;
    bool quoted = false;
    while (i < n && (quoted || !blank(line[i]))) {
      if (line[i] == L'\\') {
        size_t slashes = 0;
        while (i < n && line[i] == L'\\') ++slashes, ++i;
        if (i < n && line[i] == L'"') {
          arg.append(slashes / 2, L'\\');
          if (slashes % 2) {
            arg += L'"';
            ++i;
          }
        } else {
          arg.append(slashes, L'\\');
        }
      } else if (line[i] == L'"') {
        if (quoted && i + 1 < n && line[i + 1] == L'"') {
          arg += L'"';
          i += 2;
        } else {
          quoted = !quoted;
          ++i;
        }
      } else {
        arg += line[i++];
      }
    }
    args.push_back(arg);
  }
  return args;
}

}  // namespace vak
