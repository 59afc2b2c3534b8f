// The RSBN's spherical azimuth and range against an outside reference: the
// geodesics of the WGS84 ellipsoid. Around a beacon at 55 N the sphere's
// constants are chosen so that both agree closely.
#include <gtest/gtest.h>

#include <GeographicLib/Geodesic.hpp>
#include <cmath>

#include "frame/numeric.h"
#include "radio/rsbn.h"

namespace radio {
namespace {

TEST(RsbnGeodesic, AzimuthAndRangeAgreeWithTheEllipsoid) {
  const GeographicLib::Geodesic& wgs84 = GeographicLib::Geodesic::WGS84();
  constexpr double kBeaconLat = 55.0;
  constexpr double kBeaconLon = 37.0;
  double worst_az = 0.0, worst_range = 0.0;
  for (double km = 50.0; km <= 400.0; km += 25.0) {
    for (double azi = 0.0; azi < 360.0; azi += 7.5) {
      double lat = 0.0, lon = 0.0;
      wgs84.Direct(kBeaconLat, kBeaconLon, azi, km * 1000.0, lat, lon);
      double s12 = 0.0, azi1 = 0.0, azi2 = 0.0;
      wgs84.Inverse(kBeaconLat, kBeaconLon, lat, lon, s12, azi1, azi2);

      const double az = rsbn_azimuth_deg(lat, lon, kBeaconLat, kBeaconLon);
      const double range = rsbn_ground_range_m(lat, lon, kBeaconLat, kBeaconLon);
      const double az_err = std::fabs(frame::wrap180(az - azi1));
      const double range_err = std::fabs(range - s12) / s12;
      worst_az = std::max(worst_az, az_err);
      worst_range = std::max(worst_range, range_err);
      EXPECT_LT(az_err, 0.1) << km << " km at " << azi << ": " << az << " vs " << azi1;
      EXPECT_LT(range_err, 0.003) << km << " km at " << azi << ": " << range << " vs " << s12;
      EXPECT_LT(rsbn_search_distance_km(lat, lon, kBeaconLat, kBeaconLon), kSearchRadiusKm);
    }
  }
  RecordProperty("worst_azimuth_error_deg", std::to_string(worst_az));
  RecordProperty("worst_range_error", std::to_string(worst_range));
}

}  // namespace
}  // namespace radio
