// Micro-benchmarks of the frame's per-frame helpers (Google Benchmark). Run
// build/bin/micro_bench; whole frames are measured by `gaugehost bench`.
#include <benchmark/benchmark.h>

#include <string>

#include "frame/numeric.h"
#include "frame/patterns.h"
#include "frame/profile.h"
#include "frame/text.h"

namespace {

void BM_DrumCounter(benchmark::State& state) {
  double x = 0.0;
  for (auto _ : state) {
    const frame::DrumValues d = frame::drum_split(x, 4);
    for (int k = 0; k < 4; ++k) benchmark::DoNotOptimize(frame::drum_show(d, k));
    x += 0.37;
  }
}
BENCHMARK(BM_DrumCounter);

void BM_FormatValue(benchmark::State& state) {
  char buf[8];
  double x = -123.4;
  for (auto _ : state) {
    benchmark::DoNotOptimize(frame::format_value(buf, 6, "%5.1f", x));
    x += 0.1;
  }
}
BENCHMARK(BM_FormatValue);

void BM_ProfileParse(benchmark::State& state) {
  std::string text = "[system]\r\nnvu_v52_100=1\r\npanel_auto=1\r\nups_percent=67\r\n[sound]\r\n";
  for (int i = 0; i < 40; ++i) text += "key_" + std::to_string(i) + " = \"" + std::to_string(i) + "\"\n";
  for (auto _ : state) {
    frame::Profile p = frame::Profile::parse(text);
    benchmark::DoNotOptimize(p.integer("system", "nvu_v52_100", "0"));
  }
}
BENCHMARK(BM_ProfileParse);

void BM_Wrap360(benchmark::State& state) {
  double x = -720.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(frame::wrap360(x));
    x += 1.7;
  }
}
BENCHMARK(BM_Wrap360);

}  // namespace

BENCHMARK_MAIN();
