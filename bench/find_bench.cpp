// Find Next through ten pads of 1 MB where nothing matches (the longest search there is),
// against a plain case-sensitive search of the same text already in memory. "Program" is what
// the program does: each pad's text as its control counts it (converted from the stored UTF-8,
// as for a pad never shown), then the search that ignores case. Medians of 11 rounds, taken
// alternately.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "core/find_text.h"
#include "core/utf.h"

using namespace vorn;

namespace {

template <class F>
double Time(F&& f) {
  auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main() {
  std::string line = "The quick brown fox jumps over the lazy dog, 0123456789 times.\r\n";
  std::string stored;
  while (stored.size() + line.size() <= 1024 * 1024) stored += line;
  std::u16string inMemory = ControlForm(stored);
  std::vector<double> program, plain;
  bool found = false;
  for (int round = 0; round < 11; ++round) {
    program.push_back(Time([&] {
      found |= FindInPads([&](int) { return ControlForm(stored); }, 10, 1, 0,
                          {u"NEEDLE", false, true})
                   .has_value();
    }));
    plain.push_back(Time([&] {
      for (int pad = 0; pad < 10; ++pad) found |= inMemory.find(u"NEEDLE") != std::u16string::npos;
    }));
  }
  double p = Median(program), b = Median(plain);
  std::printf("Find Next through ten pads of 1 MB, nothing found (median of 11, milliseconds)\n");
  std::printf("  program %.1f, plain search of the same text in memory %.1f, ratio %.1f%s\n", p, b,
              p / b, found ? " (found?)" : "");
  std::printf("@find|%.3f|%.3f\n", p, b);
  return 0;
}
