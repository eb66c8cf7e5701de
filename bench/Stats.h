#pragma once
// Samples of one measured quantity and their summary.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace bench {

struct Series {
  std::vector<double> values;

  void add(double v) { values.push_back(v); }
  bool empty() const { return values.empty(); }
  double median() const {
    if (values.empty()) return 0;
    std::vector<double> v = values;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
  }
  double min() const { return values.empty() ? 0 : *std::min_element(values.begin(), values.end()); }
  double max() const { return values.empty() ? 0 : *std::max_element(values.begin(), values.end()); }
};

// "123.4 [120.1–130.9]" with the given number of decimals.
inline std::string summary(const Series& s, int decimals) {
  char buf[96];
  std::snprintf(buf, sizeof buf, "%.*f [%.*f\xE2\x80\x93%.*f]", decimals, s.median(), decimals, s.min(), decimals,
                s.max());
  return buf;
}

}  // namespace bench
