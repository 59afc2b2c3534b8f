#include "host/time_model.h"

#include <cmath>

namespace host {
namespace {
constexpr double kTickRate = 18.0;
constexpr double kDayStart = 12.0 * 3600.0;  // the simulated day starts at noon
constexpr double kDay = 24.0 * 3600.0;
// Guards floor() against a sum of frame times that lands a hair below a
// whole tick (5 frames of 1/30 s are 3 ticks, not 2.9999999).
constexpr double kTickSlack = 1e-6;
}  // namespace

double usable_sim_rate(double rate) {
  if (!(rate > 0.0)) return 0.0;  // also NaN
  return rate > TimeModel::kMaxSimRate ? TimeModel::kMaxSimRate : rate;
}

bool TimeModel::set_fps(double fps) {
  if (!(fps > 0.0) || fps > kMaxFps) return false;
  fps_ = fps;
  return true;
}

TimeModel::Step TimeModel::advance(VarTable& vars) {
  const double real_dt = 1.0 / fps_;
  const double sim_dt = paused_ ? 0.0 : usable_sim_rate(vars.get(var::kSimRate)) * real_dt;
  counter_ += std::llround(static_cast<double>(kFrequency) / fps_);
  real_ += real_dt;
  sim_ += sim_dt;
  ++frames_;
  publish(vars);
  return Step{real_dt, sim_dt};
}

void TimeModel::publish(VarTable& vars) const {
  vars.set(var::kTick, std::floor(real_ * kTickRate + kTickSlack));
  const double of_day = std::fmod(kDayStart + sim_, kDay);
  const double whole = std::fmod(std::floor(of_day + kTickSlack), kDay);
  vars.set(var::kClockHour, std::floor(whole / 3600.0));
  vars.set(var::kClockMinute, std::floor(std::fmod(whole, 3600.0) / 60.0));
  vars.set(var::kClockSecond, std::fmod(whole, 60.0));
  vars.set(var::kTimeCounter, sim_);
  vars.set(var::kSimTime, sim_);
}

}  // namespace host
