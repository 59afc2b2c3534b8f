#include "host/vars.h"

#include <algorithm>
#include <array>

namespace host {
namespace {

// The catalogue, by ascending id. Time values follow the table in README.md
// ("Time"): the tick follows real time, the clock and the simulated seconds
// follow simulated time. World values are written every frame by the world
// model (host/world_model.h) in the encodings given here; the defaults are
// those of the aircraft standing at 0 N 0 E before the first frame.
constexpr double kStdHpa = 1013.25;
constexpr std::array kCatalogue{
    VarInfo{var::kTick, "18 Hz tick", "count",
            "integer count of 1/18 s of real time; runs while paused", 0.0, "time"},
    VarInfo{var::kClockHour, "clock hour", "hours",
            "hour of the simulated time of day (0..23); day starts 12:00:00", 12.0, "time"},
    VarInfo{var::kClockMinute, "clock minute", "minutes",
            "minute of the simulated time of day (0..59)", 0.0, "time"},
    VarInfo{var::kClockSecond, "clock seconds", "seconds",
            "whole second of the simulated time of day (0..59); stops while paused", 0.0,
            "time"},
    VarInfo{var::kCom1Frequency, "COM1 frequency", "BCD16",
            "active frequency to 10 kHz without the leading 1 (0x2280 = 122.80 MHz; a 25 kHz "
            "channel drops its last digit: 118.025 is 0x1802); events 65636/65637 whole MHz "
            "down/up (118..136, wrapping), 65638/65639 25 kHz down/up (wrapping in the MHz)",
            0x2280, "world"},
    VarInfo{var::kNav1Frequency, "NAV1 frequency", "BCD16",
            "active frequency, 10 kHz steps above 100 MHz as BCD (0x1050 = 110.50 MHz); "
            "event 65708 sets it",
            0x1050, "world"},
    VarInfo{var::kNav1Radial, "NAV1 radial", "angle16",
            "magnetic radial of the aircraft from the station (ILS: from the localizer), "
            "65536 = 360 degrees, 0..65535; 0 when nothing is received",
            0.0, "world"},
    VarInfo{var::kNav2Frequency, "NAV2 frequency", "BCD16",
            "as 24 (0x1390 = 113.90 MHz); event 65709 sets it", 0x1390, "world"},
    VarInfo{var::kNav2Radial, "NAV2 radial", "angle16", "as 25", 0.0, "world"},
    VarInfo{var::kNav1Dme, "NAV1 DME", "nm",
            "slant range in 0.1 nm steps; -1 without a DME or out of range", -1.0, "world"},
    VarInfo{var::kNav2Dme, "NAV2 DME", "nm", "as 31", -1.0, "world"},
    VarInfo{var::kTransponder, "transponder code", "BCD16",
            "four octal digits, one per nibble (0x1200 = 1200); events 65651..65654 step "
            "thousands..units up, 66455..66458 down (7 up wraps to 0, 0 down to 7)",
            0x1200, "world"},
    VarInfo{var::kNav1Cdi, "NAV1 lateral needle", "-127..127",
            "full scale 10 degrees off the course (VOR) or half the sector width (ILS); "
            "positive: the course lies to the right; 0 when nothing is received",
            0.0, "world"},
    VarInfo{var::kNav1Gs, "NAV1 glide slope", "-119..119",
            "full scale 0.7 degree off the glide path; positive: below it; 0 when not valid",
            0.0, "world"},
    VarInfo{var::kNav1Flags, "NAV1 flags", "bits",
            "back-course flags word; bit value 2: a localizer is received", 0.0, "world"},
    VarInfo{var::kNav1ToFrom, "NAV1 TO/FROM", "code",
            "0 nothing received, 1 TO, 2 FROM (against the course 45)", 0.0, "world"},
    VarInfo{var::kNav1GsValid, "NAV1 GS valid", "0/1",
            "glide slope received: within 10 nm and 8 degrees of the approach", 0.0, "world"},
    VarInfo{var::kNav1Obs, "NAV1 course", "degrees",
            "selected course (OBS), 0..359; event 65716 sets it", 0.0, "world"},
    VarInfo{var::kNav2Cdi, "NAV2 lateral needle", "-127..127", "as 40", 0.0, "world"},
    VarInfo{var::kNav2Flags, "NAV2 flags", "bits", "as 42", 0.0, "world"},
    VarInfo{var::kNav2ToFrom, "NAV2 TO/FROM", "code", "as 43, against the course 54", 0.0,
            "world"},
    VarInfo{var::kNav2GsValid, "NAV2 GS valid", "0/1", "as 44", 0.0, "world"},
    VarInfo{var::kNav2Obs, "NAV2 course", "degrees", "as 45; event 65717 sets it", 0.0,
            "world"},
    VarInfo{var::kNav2Rmi, "NAV2 RMI bearing", "degrees", "as 550", 0.0, "world"},
    VarInfo{var::kOnGround, "on ground", "0/1", "1 while the aircraft stands on the terrain",
            1.0, "world"},
    VarInfo{var::kIas, "indicated airspeed", "knots",
            "calibrated airspeed with compressibility; x 1.852 gives km/h", 0.0, "world"},
    VarInfo{var::kMach, "Mach", "1/20480", "Mach x 20480", 0.0, "world"},
    VarInfo{var::kVerticalSpeed, "vertical speed", "1/256 m/s", "m/s x 256, positive up", 0.0,
            "world"},
    VarInfo{var::kLatitude, "latitude", "lat units",
            "geodetic latitude (WGS-84); x 8.998425275576774e-06 gives degrees", 0.0, "world"},
    VarInfo{var::kLongitude, "longitude", "lon units",
            "x 1.2789769243681803e-12 gives degrees (360 / 2^48), east positive", 0.0, "world"},
    VarInfo{var::kAltitude, "altitude", "metres", "geometric, above mean sea level", 0.0,
            "world"},
    VarInfo{var::kIndicatedAltitude, "indicated altitude", "m or ft",
            "standard pressure altitude against the setting 75; metres when 335 is 2, else "
            "feet",
            0.0, "world"},
    VarInfo{var::kAltimeterHpa, "altimeter setting", "hPa",
            "event 66040 sets it (value 16 x hPa), 65883/65884 step it 1 hPa up/down; "
            "800..1200",
            kStdHpa, "world"},
    VarInfo{var::kAltimeterInHg, "altimeter setting", "inHg", "75 / 33.8639",
            kStdHpa / 33.8639, "world"},
    VarInfo{var::kPitch, "pitch", "degrees", "positive nose down", 0.0, "world"},
    VarInfo{var::kBank, "bank", "degrees", "0..360, positive left wing down", 0.0, "world"},
    VarInfo{var::kMagneticHeading, "magnetic heading", "degrees",
            "0..360: true heading - variation", 0.0, "world"},
    VarInfo{var::kMagneticVariation, "magnetic variation", "degrees", "east positive", 0.0,
            "world"},
    VarInfo{var::kTrueHeading, "true heading", "degrees", "0..360", 0.0, "world"},
    VarInfo{var::kUnitSetting, "unit setting", "code",
            "2: metric with metres (74 in metres), else feet; `var 335 2` sets it", 0.0,
            "setting"},
    VarInfo{var::kSimRate, "simulation rate", "factor",
            "multiplier of simulated time; `simrate X` or `aircraft simrate X` sets it", 1.0,
            "world"},
    VarInfo{var::kOutsideTemperature, "outside air temp", "celsius",
            "static air temperature", 15.0, "world"},
    VarInfo{var::kStaticPressure, "static pressure", "1/16 hPa", "hPa x 16", kStdHpa * 16.0,
            "world"},
    VarInfo{var::kOutsideTemperature256, "outside air temp", "C/256",
            "static air temperature in degrees Celsius / 256: a needle reading 350 x 256 "
            "turns one degree per degree Celsius",
            15.0 / 256.0, "world"},
    VarInfo{var::kMarker, "marker beacon", "code", "0 none, 1 outer, 2 middle, 3 inner", 0.0,
            "world"},
    VarInfo{var::kNav1Rmi, "NAV1 RMI bearing", "degrees",
            "bearing of the station relative to the heading, 0..360; 0 when nothing is "
            "received",
            0.0, "world"},
    VarInfo{var::kGroundAlong, "ground vel. along", "ft/s",
            "ground velocity along the heading; x 1.09728 gives km/h", 0.0, "world"},
    VarInfo{var::kGroundAcross, "ground vel. across", "ft/s",
            "ground velocity across the heading, positive to the right", 0.0, "world"},
    VarInfo{var::kVelocityNorth, "velocity north", "ft/s", "ground velocity, north positive",
            0.0, "world"},
    VarInfo{var::kVelocityEast, "velocity east", "ft/s", "ground velocity, east positive", 0.0,
            "world"},
    VarInfo{var::kTimeCounter, "time counter", "seconds",
            "simulated seconds since start, double; stops while paused", 0.0, "time"},
    VarInfo{var::kSimTime, "sim time, s", "seconds",
            "simulated seconds since start, double; stops while paused", 0.0, "time"},
    VarInfo{var::kRadioHeight, "radio height", "metres", "height above the terrain", 0.0,
            "world"},
    VarInfo{var::kMainBus, "main bus voltage", "volts",
            "double; 28 so that a scenario starts with a live bus", 28.0, "world"},
    VarInfo{var::kCom2Frequency, "COM2 frequency", "BCD16",
            "as 23 (0x2150 = 121.50 MHz); events 66436/66437 whole MHz down/up, 66438/66440 "
            "25 kHz down/up",
            0x2150, "world"},
    VarInfo{var::kNav2Gs, "NAV2 glide slope", "-119..119", "as 41", 0.0, "world"},
};

static_assert(std::is_sorted(kCatalogue.begin(), kCatalogue.end(),
                             [](const VarInfo& a, const VarInfo& b) { return a.id < b.id; }),
              "catalogue rows by ascending id");

}  // namespace

std::span<const VarInfo> var_catalogue() { return kCatalogue; }

const VarInfo* find_var(u32 id) {
  const auto it = std::lower_bound(kCatalogue.begin(), kCatalogue.end(), id,
                                   [](const VarInfo& row, u32 key) { return row.id < key; });
  return (it != kCatalogue.end() && it->id == id) ? &*it : nullptr;
}

VarTable::VarTable() {
  for (const VarInfo& row : kCatalogue) set(row.id, row.initial);
}

VarTable::Slot* VarTable::slot(u32 id) {
  if (id > kMaxId) return nullptr;
  if (id >= slots_.size()) slots_.resize(static_cast<std::size_t>(id) + 1);
  return &slots_[id];
}

double VarTable::get(u32 id) const { return id < slots_.size() ? slots_[id].value : 0.0; }

void VarTable::set(u32 id, double value) {
  if (Slot* s = slot(id); s != nullptr && !s->held) s->value = value;
}

void VarTable::hold(u32 id, double value) {
  if (Slot* s = slot(id); s != nullptr) {
    s->value = value;
    s->held = true;
  }
}

void VarTable::release(u32 id) {
  if (id < slots_.size()) slots_[id].held = false;
}

bool VarTable::held(u32 id) const { return id < slots_.size() && slots_[id].held; }

}  // namespace host
