#include "nav/nvu_panels.h"

#include <cmath>

#include "frame/gauge.h"
#include "frame/numeric.h"

namespace nav {

namespace {

constinit NvuPanel g_panel{};

constexpr double kZSmall = 10.0;    // m per left click on a Z value
constexpr double kZLarge = 1000.0;  // per right click
constexpr double kSSmall = 25.0;    // on an S value
constexpr double kSLarge = 2000.0;
constexpr std::int32_t kFullTurn = 36000;  // hundredths of a degree

// The field a selector position chooses, for the mutable and the const state.
template <class State>
auto* selected_field(State& s, int counter_select) {
  auto& active = s.channel[nvu_active(s)];
  auto& other = s.channel[1 - nvu_active(s)];
  switch (counter_select) {
    case -4:
    case 4:
      return &active.z;
    case -3:
    case 3:
      return &active.s;
    case -2:
      return &active.z_aux;  // Zм
    case -1:
      return &active.s_aux;  // Sм
    case 1:
      return &other.s_aux;  // Sп
    case 2:
      return &other.z_aux;  // Zп
    default:
      return static_cast<decltype(&active.s)>(nullptr);
  }
}

}  // namespace

NvuPanel& nvu_panel() { return g_panel; }

// V-51 ----------------------------------------------------------------------

void nvu_v51_frame(NvuPanel& p, NvuState& s) {
  if (p.lur_select == 0) {
    p.forced_armed = 1;
  } else if (p.lur_select == -1 && p.forced_armed == 1 && s.counting == 1) {
    s.leg_switch_request = 1;
    p.forced_armed = 0;
  }
  p.to_computer.power_switch = p.nvu_power_switch;
  p.to_computer.count_switch = p.count_switch;
  p.to_computer.corr_switch = p.corr_switch;
  p.to_computer.counter_select = p.counter_select;
  p.to_computer.lur_select = p.lur_select;
}

double* nvu_selected_value(NvuState& s, int counter_select) {
  return selected_field(s, counter_select);
}

bool nvu_selects_z(int counter_select) {
  return counter_select == 4 || counter_select == -4 || counter_select == -2 || counter_select == 2;
}

void nvu_v51_adjust(NvuState& s, int counter_select, int dir, std::uint32_t flags) {
  if (s.powered != 1) return;
  double* v = nvu_selected_value(s, counter_select);
  if (v == nullptr) return;
  const bool large = (flags & frame::kMouseRight) != 0;
  const double step =
      nvu_selects_z(counter_select) ? (large ? kZLarge : kZSmall) : (large ? kSLarge : kSSmall);
  if (!std::isfinite(*v)) *v = 0.0;
  *v += dir < 0 ? -step : step;
}

double nvu_counter_select_angle(int counter_select) { return counter_select * 30.0 - 90.0; }

double nvu_lur_select_angle(int lur_select) {
  // The forced-change position stands 15 degrees further back.
  return lur_select == -1 ? -195.0 : lur_select * 30.0 - 150.0;
}

// V-140 -----------------------------------------------------------------------

// The desired-track convention: above 0 up to 360, north is 360 (and a
// value that is not a number becomes 360).
double nvu_zpu_wrap(double zpu) { return frame::wrap360_upper(zpu); }

double nvu_zpu_drum_number(double zpu) { return frame::to_int(zpu * 1000.0) / 100.0; }

void nvu_v140_refresh(NvuPanel& p, const NvuState& s) {
  for (int i = 0; i < 2; ++i) p.zpu_drums[i] = nvu_zpu_drum_number(s.channel[i].zpu);
}

// V-52 and the additional counter ------------------------------------------

SignedCount nvu_signed_count(double v, double scale) {
  SignedCount c;
  const std::int32_t n = frame::to_int(std::fabs(v) * scale);
  if (v >= 0.0)
    c.positive = n;
  else
    c.negative = n;
  return c;
}

double nvu_extra_source(const NvuState& s, int counter_select) {
  const double* v = selected_field(s, counter_select);
  return v != nullptr ? *v : 0.0;
}

int nvu_extra_picture(int counter_select) {
  switch (counter_select) {
    case -3:
    case 3:
      return 1;  // S
    case -1:
      return 2;  // Sм
    case 1:
      return 3;  // Sп
    case -4:
    case 4:
      return 4;  // Z
    case -2:
      return 5;  // Zм
    case 2:
      return 6;  // Zп
    default:
      return 0;
  }
}

void nvu_extra_frame(NvuPanel& p, const NvuState& s) {
  if (s.powered == 1) p.extra_value = nvu_extra_source(s, p.to_computer.counter_select);
}

// V-57 ------------------------------------------------------------------------

void nvu_v57_frame(NvuPanel& p, NvuState& s, int diss_memory) {
  if (diss_memory == 0 && s.counting == 1) {
    p.wind_memory_dir = s.wind_dir;
    p.wind_memory_speed = s.wind_speed;
  }
  s.mem_wind_dir = p.wind_memory_dir;
  s.mem_wind_speed = p.wind_memory_speed;
}

bool nvu_wind_knobs_enabled(const NvuState& s, int diss_memory) {
  return s.powered == 1 && diss_memory == 1;
}

double nvu_wind_dir_drums(double wind_delta, double wind_dir) {
  std::int32_t d = frame::to_int((wind_delta + wind_dir) * 100.0);
  if (d > kFullTurn)
    d -= kFullTurn;
  else if (d < 0)
    d += kFullTurn;
  return d / 100.0;
}

double nvu_wind_speed_drums(double speed) { return frame::to_int(speed * 100.0) / 100.0; }

// Lamps ---------------------------------------------------------------------

bool nvu_smena_cho(const NvuState& s, const NvuPanel& p) {
  return nvu_leg_warning(s) == 1 || (p.lur_select == -1 && s.powered == 1);
}

bool nvu_pamyat_diss(const NvuState& s, int diss_memory) {
  return s.powered == 1 && diss_memory == 1;
}

}  // namespace nav
