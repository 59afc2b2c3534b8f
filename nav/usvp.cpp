#include "nav/usvp.h"

#include <cmath>

#include "nav/diss.h"
#include "nav/svs.h"

namespace nav {

namespace {
constinit UsvpState g_usvp{};
}  // namespace

UsvpState& usvp() { return g_usvp; }

double usvp_angle(double kmh) { return kmh * 0.36 - 90.0; }

void usvp_step(UsvpState& s, const DissState& diss, const SvsState& svs) {
  s.ground_speed = diss.diss_speed;
  s.tas = svs.tas;
  double angle = s.needle;
  if (s.usvp_mode == 0) {
    if (diss.diss_memory == 0 || diss.diss_test == 1) angle = usvp_angle(s.ground_speed);
  } else if (svs.svs_valid == 1) {
    angle = usvp_angle(s.tas);
  }
  if (std::isfinite(angle)) s.needle = angle;
}

const char* usvp_mode_name(int mode) { return mode == 0 ? "Groundspeed" : "TAS"; }

}  // namespace nav
