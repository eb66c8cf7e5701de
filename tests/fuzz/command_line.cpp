// The command line split into arguments (the program decides on "-1" from
// it). Each input byte is one character; bytes from 80 up stand for
// characters beyond Latin-1 too (the byte times 0x101), so wide characters
// occur.
//
// Holds: arguments quoted by the usual rule (as a program starting VAK would
// write them) and split again give the same arguments. The text of a command
// line does not come back from its arguments: quotes, doubled backslashes and
// runs of blanks have many spellings.
#include <vector>

#include "FuzzCheck.h"
#include "platform/CommandLine.h"

namespace {

bool blank(wchar_t c) { return c == L' ' || c == L'\t'; }

// The program name has no escapes: quoted when it holds a blank (it then
// holds no quote), as it is otherwise (it then does not start with a quote).
std::wstring quoteProgram(const std::wstring& program) {
  for (wchar_t c : program)
    if (blank(c)) return L"\"" + program + L"\"";
  return program.empty() ? L"\"\"" : program;
}

// An argument for the C runtime's rule: 2n backslashes before a quote give
// n, 2n + 1 give n and a literal quote.
std::wstring quoteArgument(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
  std::wstring out = L"\"";
  for (std::size_t i = 0;; ++i) {
    std::size_t slashes = 0;
    while (i < arg.size() && arg[i] == L'\\') ++slashes, ++i;
    if (i == arg.size()) {
      out.append(slashes * 2, L'\\');
      break;
    }
    if (arg[i] == L'"') {
      out.append(slashes * 2 + 1, L'\\');
    } else {
      out.append(slashes, L'\\');
    }
    out += arg[i];
  }
  return out + L"\"";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::wstring line;
  for (std::size_t i = 0; i < size; ++i) line += static_cast<wchar_t>(data[i] < 0x80 ? data[i] : data[i] * 0x101);

  const std::vector<std::wstring> args = vak::splitCommandLine(line);
  FUZZ_CHECK(!args.empty());
  std::size_t total = 0;
  for (const std::wstring& a : args) total += a.size();
  FUZZ_CHECK(total <= line.size());
  FUZZ_CHECK(args[0].find(L'"') == std::wstring::npos || args[0].find_first_of(L" \t") == std::wstring::npos);

  std::wstring again = quoteProgram(args[0]);
  for (std::size_t i = 1; i < args.size(); ++i) again += L" " + quoteArgument(args[i]);
  FUZZ_CHECK(vak::splitCommandLine(again) == args);
  return 0;
}
