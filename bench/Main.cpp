// The benchmark: start-up, memory, the reading and writing handlers and the
// exe sizes of the program, each against a yardstick measured in the same
// run. Prints a table (UTF-8) to standard output and to --out.
//
//   vak_bench.exe --vak PATH --bare PATH [--controls PATH] [--updater PATH]
//                 --work FOLDER [--runs N] [--out FILE] [--skip-operations]
//                 [--compare PATH]...  (other builds of the program, started in the same rounds)
//
// Runs of the program and of its yardstick alternate (the order switching
// each round), after one start of each that is not counted.
#include <windows.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "Operations.h"
#include "Startup.h"
#include "Stats.h"
#include "platform/WinText.h"

namespace {

using bench::Series;

struct Options {
  std::wstring vak, bare, controls, updater, work, out;
  std::vector<std::wstring> compare;
  int runs = 10;
  bool operations = true;
};

std::string utf8(const std::wstring& w) {
  if (w.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

std::string format(const char* fmt, double a, double b = 0) {
  char buf[64];
  std::snprintf(buf, sizeof buf, fmt, a, b);
  return buf;
}

std::string pad(const std::string& s, size_t width) {
  size_t chars = 0;  // UTF-8 characters
  for (unsigned char c : s)
    if ((c & 0xC0) != 0x80) ++chars;
  return chars >= width ? s + " " : s + std::string(width - chars, ' ');
}

long long fileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA d{};
  if (path.empty() || !GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &d)) return -1;
  return static_cast<long long>(d.nFileSizeHigh) << 32 | d.nFileSizeLow;
}

// A row: what, program, yardstick, ratio of the medians, target.
std::string row(const std::string& what, const std::string& program, const std::string& yardstick, double ratio,
                const std::string& target) {
  return pad(what, 30) + pad(program, 26) + pad(yardstick, 34) + pad(format("%.2f", ratio), 7) + target + "\n";
}

void progress(const char* text) {
  std::fprintf(stderr, "%s\n", text);
  std::fflush(stderr);
}

int fail(const std::string& text) {
  std::fprintf(stderr, "vak_bench: %s\n", text.c_str());
  return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::wstring a = argv[i];
    const bool hasValue = i + 1 < argc;
    if (a == L"--vak" && hasValue) o.vak = argv[++i];
    else if (a == L"--bare" && hasValue) o.bare = argv[++i];
    else if (a == L"--controls" && hasValue) o.controls = argv[++i];
    else if (a == L"--updater" && hasValue) o.updater = argv[++i];
    else if (a == L"--compare" && hasValue) o.compare.push_back(argv[++i]);
    else if (a == L"--work" && hasValue) o.work = argv[++i];
    else if (a == L"--out" && hasValue) o.out = argv[++i];
    else if (a == L"--runs" && hasValue) o.runs = _wtoi(argv[++i]);
    else if (a == L"--skip-operations") o.operations = false;
    else return fail("unknown argument " + utf8(a));
  }
  if (o.vak.empty() || o.bare.empty() || o.work.empty() || o.runs < 1) return fail("--vak, --bare and --work needed");
  CreateDirectoryW(o.work.c_str(), nullptr);
  const std::wstring trace = o.work + L"\\start-trace.txt";

  // Start-up: one uncounted start each, then alternating rounds.
  progress("start-up ...");
  bench::StartResult census = bench::measureStart(o.vak, L"", trace, true);
  if (!census.ok) return fail("vak.exe: " + census.error);
  std::wstring controlArgs;
  int controlCount = 0;
  for (const auto& [cls, count] : census.classes) {
    if (cls == L"ComboLBox" || cls == L"tooltips_class32") continue;  // parts of other controls, popups
    controlArgs += L" " + cls + L"=" + std::to_wstring(count);
    controlCount += count;
  }
  struct Program {
    const char* name;
    std::wstring exe, args;
    Series ms, mem;
    std::map<std::string, Series> marks;
    std::vector<std::string> order;
  };
  std::vector<Program> programs = {{"vak", o.vak, L"", {}, {}, {}, {}}, {"bare", o.bare, L"", {}, {}, {}, {}}};
  if (!o.controls.empty()) programs.push_back({"controls", o.controls, controlArgs, {}, {}, {}, {}});
  for (const std::wstring& exe : o.compare) programs.push_back({"compared", exe, L"", {}, {}, {}, {}});
  for (size_t p = 1; p < programs.size(); ++p) {
    const bench::StartResult warm = bench::measureStart(programs[p].exe, programs[p].args, trace, false);
    if (!warm.ok) return fail(std::string(programs[p].name) + ": " + warm.error);
  }
  for (int round = 0; round < o.runs; ++round) {
    for (size_t k = 0; k < programs.size(); ++k) {
      Program& p = programs[(k + static_cast<size_t>(round)) % programs.size()];
      const bench::StartResult r = bench::measureStart(p.exe, p.args, trace, false);
      if (!r.ok) return fail(std::string(p.name) + ": " + r.error);
      p.ms.add(r.ms);
      p.mem.add(r.peakMiB);
      double previous = 0;
      for (const auto& [phase, at] : r.marks) {
        if (!p.marks.count(phase)) p.order.push_back(phase);
        p.marks[phase].add(at - previous);
        previous = at;
      }
      if (!r.marks.empty()) {
        if (!p.marks.count("painted and idle")) p.order.push_back("painted and idle");
        p.marks["painted and idle"].add(r.ms - previous);
      }
    }
  }

  std::vector<bench::OperationRow> ops;
  if (o.operations) {
    progress("operations ...");
    std::string error;
    ops = bench::measureOperations(utf8(o.work) + "\\operations", o.runs, error);
    if (!error.empty()) return fail(error);
  }

  const Program& vak = programs[0];
  const Program& bare = programs[1];
  std::string out;
  out += "VAK benchmark: " + std::to_string(o.runs) +
         " runs each, interleaved; median [min\xE2\x80\x93max]; ratio = median / median of the yardstick\n\n";
  out += pad("", 30) + pad("vak", 26) + pad("yardstick", 34) + pad("ratio", 7) + "target\n";
  out += row("start-up to idle (ms)", bench::summary(vak.ms, 0), bench::summary(bare.ms, 0) + " bare",
             vak.ms.median() / bare.ms.median(), "\xE2\x89\xA4 2.0");
  out += row("peak working set (MiB)", bench::summary(vak.mem, 1), bench::summary(bare.mem, 1) + " bare",
             vak.mem.median() / bare.mem.median(), "\xE2\x89\xA4 1.3");
  for (const bench::OperationRow& r : ops)
    out += row(r.name + " (ms)", bench::summary(r.vak, 1), bench::summary(r.bare, 1) + " bare calls",
               r.vak.median() / r.bare.median(), "\xE2\x89\xA4 1.5");
  const long long vakSize = fileSize(o.vak), updaterSize = fileSize(o.updater);
  out += pad("vak.exe (KiB)", 30) + pad(format("%.0f", static_cast<double>(vakSize) / 1024), 67) +
         "\xE2\x89\xA4 1024\n";
  out += pad("updater.exe (KiB)", 30) +
         pad(updaterSize < 0 ? std::string("n/a") : format("%.0f", static_cast<double>(updaterSize) / 1024), 67) +
         "\xE2\x89\xA4 300\n";
  for (size_t i = 2; i < programs.size(); ++i) {
    const Program& c = programs[i];
    if (c.args.empty())
      out += "\nFor comparison, " + utf8(c.exe) + ":\n";
    else
      out += "\nFor comparison, the bare window with " + std::to_string(controlCount) +
             " plain controls of the program's classes:\n";
    out += row("start-up to idle (ms)", bench::summary(c.ms, 0), bench::summary(bare.ms, 0) + " bare",
               c.ms.median() / bare.ms.median(), "");
    out += row("peak working set (MiB)", bench::summary(c.mem, 1), bench::summary(bare.mem, 1) + " bare",
               c.mem.median() / bare.mem.median(), "");
  }
  for (const Program& p : programs) {
    out += std::string("\nStart-up of ") + (p.args.empty() && &p != &vak && &p != &bare ? utf8(p.exe) : p.name) +
           " by phase (ms, median [min\xE2\x80\x93max]; each from the end of the one before):\n";
    for (const std::string& phase : p.order) out += "  " + pad(phase, 34) + bench::summary(p.marks.at(phase), 1) + "\n";
    if (p.order.empty()) out += "  (no marks: the program wrote no start trace)\n";
  }

  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fflush(stdout);
  if (!o.out.empty()) {
    HANDLE f = CreateFileW(o.out.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(f, out.data(), static_cast<DWORD>(out.size()), &written, nullptr);
      CloseHandle(f);
    }
  }
  return 0;
}
