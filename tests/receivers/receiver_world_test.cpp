// radio_sys and the course indicators fed by the host's world model: an
// approach down an ILS through its three marker beacons, and the errors and
// bars the indicators form from the geometry the world flies.
#include <gtest/gtest.h>

#include <GeographicLib/Geodesic.hpp>

#include <cmath>
#include <numbers>
#include <vector>

#include "frame/numeric.h"
#include "host/vars.h"
#include "host/world_model.h"
#include "nav/course_indicator.h"
#include "radio/radio_sys.h"

namespace {

using host::Setting;
using host::Station;
using host::StationType;
using host::WorldKey;

constexpr double kThresholdLat = 55.0;
constexpr double kThresholdLon = 37.0;
constexpr double kElev = 150.0;
constexpr double kFrame = 1.0 / 18.0;
constexpr double kPi = std::numbers::pi;

// (lat, lon) of the point `distance` metres before the threshold of runway
// 09 (west of it), `offset` metres to the right of the centreline (south).
void before_threshold(double distance, double offset, double* lat, double* lon) {
  const auto& geo = GeographicLib::Geodesic::WGS84();
  double la = 0.0, lo = 0.0;
  geo.Direct(kThresholdLat, kThresholdLon, 270.0, distance, la, lo);
  geo.Direct(la, lo, 180.0, offset, *lat, *lon);
}

class ApproachWorld : public ::testing::Test {
 protected:
  host::WorldModel world;
  host::VarTable vars;
  radio::RadioState radio;

  void SetUp() override {
    Station ils;
    ils.type = StationType::kIls;
    ils.id = "RWY09";
    ils.lat = kThresholdLat;
    ils.lon = kThresholdLon;
    ils.elev = kElev;
    ils.freq_code = 1095;
    ils.range_km = host::default_range_km(StationType::kIls);
    ils.course = 90.0;
    ils.dme = true;
    world.add_station(ils);
    const struct {
      const char* id;
      double distance;
      host::MarkerKind kind;
    } markers[] = {{"OM", 7400.0, host::MarkerKind::kOuter},
                   {"MM", 1050.0, host::MarkerKind::kMiddle},
                   {"IM", 300.0, host::MarkerKind::kInner}};
    for (const auto& m : markers) {
      Station s;
      s.type = StationType::kMarker;
      s.id = m.id;
      s.kind = m.kind;
      s.elev = kElev;
      before_threshold(m.distance, 0.0, &s.lat, &s.lon);
      world.add_station(s);
    }
    // Receiver 1 on the ILS, both receivers powered.
    world.on_key_event(host::event::kNav1Frequency, 0x1095, vars);
    world.on_key_event(host::event::kNav1Course, 90, vars);
    radio.rx[0].breaker_on = radio.rx[1].breaker_on = 1;
  }

  // The aircraft `distance` before the threshold, on the 3 degree glide
  // path, heading east and sinking along it.
  void on_final(double distance, double offset, double heading) {
    double lat = 0.0, lon = 0.0;
    before_threshold(distance, offset, &lat, &lon);
    const double height = (distance + 300.0) * std::tan(3.0 * kPi / 180.0);
    const Setting s[] = {{WorldKey::kLat, lat},         {WorldKey::kLon, lon},
                         {WorldKey::kAlt, kElev + height}, {WorldKey::kHeading, heading},
                         {WorldKey::kOnGround, 0.0},    {WorldKey::kGs, 260.0},
                         {WorldKey::kVs, -260.0 / 3.6 * std::tan(3.0 * kPi / 180.0)}};
    world.set_aircraft(s);
  }

  radio::RadioInputs inputs() const {
    radio::RadioInputs in;
    const host::u32 ids[2][7] = {{42, 43, 44, 31, 25, 40, 550}, {51, 52, 53, 35, 28, 50, 59}};
    for (std::size_t n = 0; n < 2; ++n) {
      radio::RadioInputs::Receiver& r = in.rx[n];
      r.flags = vars.get(ids[n][0]);
      r.to_from = vars.get(ids[n][1]);
      r.gs_valid = vars.get(ids[n][2]);
      r.dme_nm = vars.get(ids[n][3]);
      r.radial = vars.get(ids[n][4]);
      r.cdi = vars.get(ids[n][5]);
      r.rmi = vars.get(ids[n][6]);
    }
    in.gs_needle_1 = vars.get(41);
    in.marker = vars.get(354);
    in.ground_fps = vars.get(551);
    in.time_counter = time;
    return in;
  }
  void frame() {
    time += kFrame;
    world.step(kFrame, kFrame, vars);
    radio_sys_step(radio, inputs());
  }

  double time = 0.0;
};

// Down the approach, the marker flags come outer, middle, inner, each for a
// few seconds and never two at once.
TEST_F(ApproachWorld, MarkerFlagsComeOneTwoThreeInOrder) {
  on_final(9000.0, 0.0, 90.0);
  std::vector<int> order;
  int frames_on[4] = {0, 0, 0, 0};
  for (int i = 0; i < 18 * 140; ++i) {
    frame();
    const int outer = radio.marker_outer, middle = radio.marker_middle, inner = radio.marker_inner;
    ASSERT_LE(outer + middle + inner, 1) << "frame " << i;
    const int now = outer ? 1 : middle ? 2 : inner ? 3 : 0;
    if (now != 0) {
      ++frames_on[now];
      if (order.empty() || order.back() != now) order.push_back(now);
    }
  }
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
  for (int k = 1; k <= 3; ++k) EXPECT_GT(frames_on[k], 18) << "marker " << k << " over a second";
  EXPECT_EQ(radio.loc_lamp_1, 1) << "on the localizer all the way";

  // The same approach with receiver 1's breaker off hears no marker.
  radio::RadioState off;
  on_final(9000.0, 0.0, 90.0);
  for (int i = 0; i < 18 * 140; ++i) {
    world.step(kFrame, kFrame, vars);
    radio_sys_step(off, inputs());
    ASSERT_EQ(off.marker_outer + off.marker_middle + off.marker_inner, 0);
  }
}

// The indicators' errors against what the world flies: the aircraft 200 m
// right of the localizer, heading 10 degrees left of the runway, with the
// set heading and set track on the runway's 090.
TEST_F(ApproachWorld, ErrorsAndBarsFollowTheGeometry) {
  struct Case {
    double offset;   // metres right of the centreline
    double heading;  // true = magnetic (no variation)
    double zk_set, zpu_set;
    double zk_error, zpu_error;
    int bar_sign;  // of the lateral bar: -1 course to the left
  };
  const Case cases[] = {
      {200.0, 80.0, 90.0, 90.0, -10.0, -10.0, -1},
      {-200.0, 100.0, 90.0, 90.0, 10.0, 10.0, +1},
      {0.0, 95.0, 90.0, 85.0, 5.0, 10.0, 0},
  };
  for (const Case& k : cases) {
    on_final(8000.0, k.offset, k.heading);
    for (int i = 0; i < 3; ++i) frame();
    nav::CourseIndicator c;
    c.mode = nav::kModeIls;
    c.zk_set = k.zk_set;
    c.zpu_set = k.zpu_set;
    nav::PnpInputs in;
    in.gyro_switch = 1;
    in.gyro_source = 1;
    in.gyro_heading = vars.get(host::var::kMagneticHeading);
    c.card = c.card_target = in.gyro_heading;
    in.rx = radio.rx;
    nav::course_indicator_step(c, false, in);
    EXPECT_NEAR(c.zk_error, k.zk_error, 1e-6) << k.offset << " " << k.heading;
    EXPECT_NEAR(c.zpu_error, k.zpu_error, 1e-6) << k.offset << " " << k.heading;
    if (k.bar_sign == 0)
      EXPECT_NEAR(c.lateral_bar, 0.0, 1.0) << "on the centreline";
    else
      EXPECT_GT(c.lateral_bar * k.bar_sign, 5.0) << k.offset;
    EXPECT_EQ(c.course_flag, 0);
    EXPECT_EQ(c.glide_flag, 0);
    EXPECT_NEAR(c.glide_bar, 0.0, 20.0) << "on the glide path";
  }
}

}  // namespace
