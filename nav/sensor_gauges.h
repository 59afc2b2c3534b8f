// Gauges of the doppler, the air-data computer and the speed indicator.
#pragma once

namespace frame {
class Module;
}

namespace nav {

// AZS_DISS_PIT (runs the doppler: services 2, 6, 12), SVS_Control (runs the
// air-data computer and starts its test), USVP. Declared after the breakers,
// so that each frame the breaker copies its position before the doppler runs.
void define_nav_sensors(frame::Module& m);

}  // namespace nav
