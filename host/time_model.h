// The host's clocks. Frames are the unit: every frame lasts 1/fps real
// seconds. Real time drives the virtual high-resolution counter and the
// 18 Hz tick, and runs while paused; simulated time advances by
// simrate/fps per frame and stands still while paused. The counter is
// virtual so that runs are deterministic.
#pragma once

#include <cstdint>

#include "host/vars.h"

namespace host {

class TimeModel {
 public:
  static constexpr std::int64_t kFrequency = 10'000'000;  // counter ticks per second
  static constexpr double kDefaultFps = 18.0;
  static constexpr double kMaxFps = 1000.0;
  static constexpr double kMaxSimRate = 128.0;

  // Frames per real second; values outside (0, kMaxFps] are ignored.
  bool set_fps(double fps);
  double fps() const { return fps_; }
  void set_paused(bool paused) { paused_ = paused; }
  bool paused() const { return paused_; }

  struct Step {
    double real_dt;
    double sim_dt;
  };
  // Advances one frame (simulation rate read from `vars`) and writes the
  // time variables.
  Step advance(VarTable& vars);
  // Writes the time variables for the current instant.
  void publish(VarTable& vars) const;

  std::int64_t counter() const { return counter_; }
  std::int64_t frequency() const { return kFrequency; }
  double real_time() const { return real_; }
  double sim_time() const { return sim_; }
  std::uint64_t frames() const { return frames_; }

 private:
  double fps_ = kDefaultFps;
  bool paused_ = false;
  std::int64_t counter_ = 0;
  double real_ = 0.0;
  double sim_ = 0.0;
  std::uint64_t frames_ = 0;
};

// The simulation rate as the clocks use it: NaN, negative and huge rates
// are taken as 0 and kMaxSimRate.
double usable_sim_rate(double rate);

}  // namespace host
