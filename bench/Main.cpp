// The benchmark: start-up, memory, the reading and writing handlers and the
// exe sizes of the program, each against a yardstick measured in the same
// run. Prints a table (UTF-8) to standard output and to --out.
//
//   vak_bench.exe --vak PATH --bare PATH [--controls PATH] [--updater PATH]
//                 --work FOLDER [--runs N] [--out FILE] [--skip-operations]
//                 [--compare PATH]...  (other builds of the program, started in the same rounds)
//                 [--x11 FILE]         (the start-ups measured with --startup-only as well)
//   vak_bench.exe --startup-only FILE ...
//                 measures the start-ups only and writes their samples to FILE
//
// The start-up is measured twice, by two runs of vak_bench: in Wine's virtual
// desktop (the tests' set-up) and with ordinary X11 windows, as `wine vak.exe`
// shows them on a Linux desktop. Which of the two a run sees is set in Wine's
// registry before it starts (scripts/bench); the samples of the X11 run come
// in through --x11.
//
// Runs of the program and of its yardstick alternate (the order switching
// each round), after one start of each that is not counted.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
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
  std::wstring vak, bare, controls, updater, work, out, startupOnly, x11;
  std::vector<std::wstring> compare;
  int runs = 10;
  bool operations = true;
};

// The start-ups of one program in one run of the benchmark.
struct Program {
  std::string name;
  std::wstring exe, args;
  Series ms, mem;
  std::map<std::string, Series> marks;
  std::vector<std::string> order;
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
  return pad(what, 32) + pad(program, 26) + pad(yardstick, 34) + pad(format("%.2f", ratio), 7) + target + "\n";
}

void progress(const char* text) {
  std::fprintf(stderr, "%s\n", text);
  std::fflush(stderr);
}

int fail(const std::string& text) {
  std::fprintf(stderr, "vak_bench: %s\n", text.c_str());
  return 1;
}

std::string samples(const Series& s) {
  std::string out;
  for (double v : s.values) out += format(" %.4f", v);
  return out;
}

// "program<TAB>name", then "ms", "mem" and "mark<TAB>phase" lines with the samples.
std::string saveStartups(const std::vector<Program>& programs) {
  std::string out;
  for (const Program& p : programs) {
    out += "program\t" + p.name + "\n";
    out += "ms\t" + samples(p.ms) + "\n";
    out += "mem\t" + samples(p.mem) + "\n";
    for (const std::string& phase : p.order) out += "mark\t" + phase + "\t" + samples(p.marks.at(phase)) + "\n";
  }
  return out;
}

Series parseSamples(const std::string& text) {
  Series s;
  const char* p = text.c_str();
  for (;;) {
    char* end = nullptr;
    const double v = std::strtod(p, &end);
    if (end == p) break;
    s.add(v);
    p = end;
  }
  return s;
}

std::vector<Program> loadStartups(const std::string& text) {
  std::vector<Program> programs;
  size_t at = 0;
  while (at < text.size()) {
    size_t eol = text.find('\n', at);
    if (eol == std::string::npos) eol = text.size();
    std::string line = text.substr(at, eol - at);
    at = eol + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t tab = line.find('\t');
    if (tab == std::string::npos) continue;
    const std::string key = line.substr(0, tab), rest = line.substr(tab + 1);
    if (key == "program") {
      programs.push_back({});
      programs.back().name = rest;
    } else if (programs.empty()) {
      continue;
    } else if (key == "ms") {
      programs.back().ms = parseSamples(rest);
    } else if (key == "mem") {
      programs.back().mem = parseSamples(rest);
    } else if (key == "mark") {
      const size_t t = rest.find('\t');
      if (t == std::string::npos) continue;
      programs.back().order.push_back(rest.substr(0, t));
      programs.back().marks[rest.substr(0, t)] = parseSamples(rest.substr(t + 1));
    }
  }
  return programs;
}

bool writeFile(const std::wstring& path, const std::string& data) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(f, data.data(), static_cast<DWORD>(data.size()), &written, nullptr) && written == data.size();
  CloseHandle(f);
  return ok;
}

bool readFile(const std::wstring& path, std::string& data) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  data.clear();
  char buf[4096];
  DWORD got = 0;
  while (ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0) data.append(buf, got);
  CloseHandle(f);
  return true;
}

const Program* named(const std::vector<Program>& programs, const std::string& name) {
  for (const Program& p : programs)
    if (p.name == name) return &p;
  return nullptr;
}

// The phases of each program's start-up; `mode` says in which windows.
std::string phaseTables(const std::vector<Program>& programs, const std::string& mode) {
  std::string out;
  for (const Program& p : programs) {
    out += "\nStart-up of " + p.name + ", " + mode +
           ", by phase (ms, median [min\xE2\x80\x93max]; each from the end of the one before):\n";
    for (const std::string& phase : p.order) out += "  " + pad(phase, 34) + bench::summary(p.marks.at(phase), 1) + "\n";
    if (p.order.empty()) out += "  (no marks: the program wrote no start trace)\n";
  }
  return out;
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
    else if (a == L"--startup-only" && hasValue) o.startupOnly = argv[++i];
    else if (a == L"--x11" && hasValue) o.x11 = argv[++i];
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
  std::vector<Program> programs = {{"vak", o.vak, L"", {}, {}, {}, {}}, {"bare", o.bare, L"", {}, {}, {}, {}}};
  if (!o.controls.empty()) programs.push_back({"controls", o.controls, controlArgs, {}, {}, {}, {}});
  for (const std::wstring& exe : o.compare) programs.push_back({utf8(exe), exe, L"", {}, {}, {}, {}});
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

  if (!o.startupOnly.empty()) {
    if (!writeFile(o.startupOnly, saveStartups(programs))) return fail("cannot write " + utf8(o.startupOnly));
    return 0;
  }
  std::vector<Program> x11;
  if (!o.x11.empty()) {
    std::string text;
    if (!readFile(o.x11, text)) return fail("cannot read " + utf8(o.x11));
    x11 = loadStartups(text);
    if (!named(x11, "vak") || !named(x11, "bare")) return fail(utf8(o.x11) + " holds no start-ups of vak and bare");
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
  out += pad("", 32) + pad("vak", 26) + pad("yardstick", 34) + pad("ratio", 7) + "target\n";
  out += row("start-up, virtual desktop (ms)", bench::summary(vak.ms, 0), bench::summary(bare.ms, 0) + " bare",
             vak.ms.median() / bare.ms.median(), "\xE2\x89\xA4 1.5");
  if (!x11.empty()) {
    const Program& v = *named(x11, "vak");
    const Program& b = *named(x11, "bare");
    out += row("start-up, X11 windows (ms)", bench::summary(v.ms, 0), bench::summary(b.ms, 0) + " bare",
               v.ms.median() / b.ms.median(), "\xE2\x89\xA4 1.5");
  }
  out += row("peak working set (MiB)", bench::summary(vak.mem, 1), bench::summary(bare.mem, 1) + " bare",
             vak.mem.median() / bare.mem.median(), "\xE2\x89\xA4 1.3");
  for (const bench::OperationRow& r : ops)
    out += row(r.name + " (ms)", bench::summary(r.vak, 1), bench::summary(r.bare, 1) + " bare calls",
               r.vak.median() / r.bare.median(), "\xE2\x89\xA4 1.5");
  const long long vakSize = fileSize(o.vak), updaterSize = fileSize(o.updater);
  out += pad("vak.exe (KiB)", 32) + pad(format("%.0f", static_cast<double>(vakSize) / 1024), 67) +
         "\xE2\x89\xA4 1024\n";
  out += pad("updater.exe (KiB)", 32) +
         pad(updaterSize < 0 ? std::string("n/a") : format("%.0f", static_cast<double>(updaterSize) / 1024), 67) +
         "\xE2\x89\xA4 300\n";
  for (size_t i = 2; i < programs.size(); ++i) {
    const Program& c = programs[i];
    if (c.args.empty())
      out += "\nFor comparison, " + utf8(c.exe) + ":\n";
    else
      out += "\nFor comparison, the bare window with " + std::to_string(controlCount) +
             " plain controls of the program's classes:\n";
    out += row("start-up, virtual desktop (ms)", bench::summary(c.ms, 0), bench::summary(bare.ms, 0) + " bare",
               c.ms.median() / bare.ms.median(), "");
    if (const Program* x = named(x11, c.name)) {
      const Program& b = *named(x11, "bare");
      out += row("start-up, X11 windows (ms)", bench::summary(x->ms, 0), bench::summary(b.ms, 0) + " bare",
                 x->ms.median() / b.ms.median(), "");
    }
    out += row("peak working set (MiB)", bench::summary(c.mem, 1), bench::summary(bare.mem, 1) + " bare",
               c.mem.median() / bare.mem.median(), "");
    if (c.args.empty()) continue;
    // What the program's work adds to its windows: vak against the same
    // windows without contents, data or pictures.
    out += "vak against these windows:\n";
    out += row("start-up, virtual desktop (ms)", bench::summary(vak.ms, 0), bench::summary(c.ms, 0) + " windows",
               vak.ms.median() / c.ms.median(), "");
    if (const Program* x = named(x11, c.name)) {
      const Program& v = *named(x11, "vak");
      out += row("start-up, X11 windows (ms)", bench::summary(v.ms, 0), bench::summary(x->ms, 0) + " windows",
                 v.ms.median() / x->ms.median(), "");
    }
  }
  out += phaseTables(programs, "virtual desktop");
  if (!x11.empty()) out += phaseTables(x11, "X11 windows");

  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fflush(stdout);
  if (!o.out.empty()) writeFile(o.out, out);
  return 0;
}
