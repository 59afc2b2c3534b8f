// The speed indicator USVP: one needle showing the doppler's ground speed
// (mode 0) or the air-data computer's true airspeed (mode 1), chosen by a
// toggle on the instrument.
#pragma once

namespace nav {

struct DissState;
struct SvsState;

struct UsvpState {
  int usvp_mode = 0;             // 0 ground speed, 1 true airspeed
  double ground_speed = 0.0;     // copy of the doppler's diss_speed, km/h
  double tas = 0.0;              // copy of the air-data computer's tas, km/h
  double needle = -90.0;         // degrees; 0 km/h until a source is good
};

// The module's speed indicator.
UsvpState& usvp();

// Needle angle of a speed: 0..1000 km/h over one turn, 0 at -90 degrees.
double usvp_angle(double kmh);

// One service 6: copies both speeds and moves the needle to the selected
// one while its source is good (doppler working or in test; air data
// valid); otherwise the needle stays.
void usvp_step(UsvpState& s, const DissState& diss, const SvsState& svs);

// Tooltip argument: "Groundspeed" in mode 0, "TAS" in mode 1.
const char* usvp_mode_name(int mode);

}  // namespace nav
