// The beacon file: one value into one record, and the 255 keys of a file.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "frame/profile.h"
#include "radio/beacon_file.h"

namespace radio {
namespace {

TEST(BeaconValueParse, WellFormedValues) {
  const struct {
    const char* value;
    Beacon want;
  } cases[] = {
      {"27,55*4530,37*1200,150", {27, 55.755, 37.2, 150}},
      {"3,-2*3000,-70*3000,0", {3, -1.5, -69.5, 0}},  // minutes added to south and west too
      {" 27 , 55 * 4530 ,\t37 * 1200 , 150 ", {27, 55.755, 37.2, 150}},
      {"+4,55.5*0,.5*0,1e2", {4, 55.5, 0.5, 100}},
      {"5.,0*0,0*0,-10", {5, 0, 0, -10}},
      // Odd but well formed: the formulas' results stand.
      {"1,10*6000,200*0,5", {1, 11, 200, 5}},
      {"1,-0*3000,0*-3000,0", {1, 0.5, -0.5, 0}},
      {"1,1e-400*0,0*0,0", {1, 0, 0, 0}},  // below the double's range: zero
  };
  for (const auto& c : cases) {
    Beacon b{9, 9, 9, 9};
    ASSERT_EQ(parse_beacon(c.value, b), BeaconValue::kRecord) << c.value;
    EXPECT_DOUBLE_EQ(b.beacon_channel, c.want.beacon_channel) << c.value;
    EXPECT_NEAR(b.lat_deg, c.want.lat_deg, 1e-12) << c.value;
    EXPECT_NEAR(b.lon_deg, c.want.lon_deg, 1e-12) << c.value;
    EXPECT_DOUBLE_EQ(b.elevation_m, c.want.elevation_m) << c.value;
  }
}

TEST(BeaconValueParse, FirstNumberMinusTwoMarksAnAbsentRecord) {
  for (const char* v : {"-2", "-2,1*2,3*4,5", "-2.0,55*0,37*0,0", " -2 ,junk", "-2e0"}) {
    Beacon b{9, 9, 9, 9};
    EXPECT_EQ(parse_beacon(v, b), BeaconValue::kAbsent) << v;
    EXPECT_EQ(b.beacon_channel, 9) << v;
  }
}

// Whatever cannot be read safely leaves the record as it was.
TEST(BeaconValueParse, MalformedValuesAreRejected) {
  const char* const cases[] = {
      "",
      "   ",
      "27",
      "27,55",
      "27,55*4530,37*1200",        // four separators
      "27,55*4530,37*1200,",       // empty elevation
      "27,,4530,37*1200,150",      // empty latitude
      "27,55*4530,37*1200*150",    // wrong separator
      "27,55,4530,37*1200,150",    // wrong separator
      "27;55*4530;37*1200;150",
      "27,55*4530,37*1200,150,9",  // one number too many
      "27,55*4530,37*1200,150abc",
      "27 x,55*4530,37*1200,150",
      "27,55*4530,37*1200,1e",     // exponent without digits
      "27,55*4530,37*1200,1e+",
      "27,55*4530,37*1200,-",
      "27,55*4530,37*1200,.",
      "27,55*4530,37*1200,+-1",
      "27,5 5*4530,37*1200,150",
      "nan,55*4530,37*1200,150",
      "27,inf*4530,37*1200,150",
      "27,55*4530,37*1200,-infinity",
      "27,55*NAN,37*1200,150",
      "27,0x10*4530,37*1200,150",
      "27,55*4530,37*1200,1e999",  // overflows to infinity
      "27,-1e400*0,0*0,0",
      "1,1.7976e308*1e308,0*0,0",  // finite parts, infinite sum
      "27,55*4530,37*1200,1,5",    // decimal comma
      "\xff\xfe,55*4530,37*1200,150",
      "-,55*4530,37*1200,150",
  };
  for (const char* v : cases) {
    Beacon b{9, 8, 7, 6};
    EXPECT_EQ(parse_beacon(v, b), BeaconValue::kRejected) << '"' << v << '"';
    EXPECT_EQ(b.beacon_channel, 9) << v;
    EXPECT_EQ(b.lat_deg, 8) << v;
    EXPECT_EQ(b.lon_deg, 7) << v;
    EXPECT_EQ(b.elevation_m, 6) << v;
  }
}

TEST(BeaconValueParse, NumbersIgnoreTheProcessLocale) {
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous ? previous : "C";
  const char* comma_locale = nullptr;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "ru_RU.UTF-8"}) {
    if (std::setlocale(LC_NUMERIC, name)) {
      comma_locale = name;
      break;
    }
  }
  if (!comma_locale) GTEST_SKIP() << "no locale with a decimal comma installed";
  Beacon b;
  const BeaconValue got = parse_beacon("27,55.5*0,37*1200,150.5", b);
  std::setlocale(LC_NUMERIC, saved.c_str());
  ASSERT_EQ(got, BeaconValue::kRecord);
  EXPECT_DOUBLE_EQ(b.lat_deg, 55.5);
  EXPECT_DOUBLE_EQ(b.elevation_m, 150.5);
}

std::string key_line(int n, const std::string& value) {
  return "rsbn_" + std::to_string(n) + "=" + value + "\n";
}

TEST(BeaconFile, KeysOneTo255FillTheTableInOrder) {
  std::string text = "[rsbn]\n";
  for (int n = 1; n <= 256; ++n)
    text += key_line(n, std::to_string(n % 50) + ",50*" + std::to_string(n) + ",30*0," +
                            std::to_string(n * 10));
  BeaconTable t{};
  const BeaconReadCounts c = read_beacons(frame::Profile::parse(text), t);
  EXPECT_EQ(c.records, 255);
  EXPECT_EQ(c.absent, 0);
  EXPECT_EQ(c.rejected, 0);
  for (int n = 1; n <= kBeaconCount; ++n) {
    const Beacon& b = t[static_cast<std::size_t>(n - 1)];
    ASSERT_DOUBLE_EQ(b.beacon_channel, n % 50) << n;
    ASSERT_NEAR(b.lat_deg, 50.0 + n / 6000.0, 1e-12) << n;
    ASSERT_DOUBLE_EQ(b.elevation_m, n * 10.0) << n;
  }
}

TEST(BeaconFile, MissingAbsentAndBadKeysKeepTheirRecords) {
  BeaconTable t{};
  t[1] = Beacon{5, 1, 2, 3};
  t[2] = Beacon{6, 1, 2, 3};
  t[3] = Beacon{7, 1, 2, 3};
  const std::string text =
      "; beacons\n"
      "[other]\nrsbn_1=1,1*0,1*0,1\n"
      "[RSBN]\n"
      "RSBN_1=27,55*4530,37*1200,150\n"
      "rsbn_1=28,0*0,0*0,0\n"  // a repeated key: the first wins
      "rsbn_3=-2,0*0,0*0,0\n"
      "rsbn_4=27,55*4530\n";
  const BeaconReadCounts c = read_beacons(frame::Profile::parse(text), t);
  EXPECT_EQ(c.records, 1);
  EXPECT_EQ(c.rejected, 1);
  EXPECT_EQ(c.absent, 253);
  EXPECT_DOUBLE_EQ(t[0].beacon_channel, 27);
  EXPECT_DOUBLE_EQ(t[0].lat_deg, 55.755);
  EXPECT_DOUBLE_EQ(t[1].beacon_channel, 5) << "missing key";
  EXPECT_DOUBLE_EQ(t[2].beacon_channel, 6) << "-2";
  EXPECT_DOUBLE_EQ(t[3].beacon_channel, 7) << "malformed";
}

TEST(BeaconFile, ValuesAreReadThroughAFortySevenCharacterBuffer) {
  // 47 characters: read whole. 48: the last character is cut off.
  const std::string head = "27,55.000000000000*4530,37.000000000*1200,";
  ASSERT_EQ(head.size() + 5, 47u);
  BeaconTable t{};
  std::string text = "[rsbn]\n" + key_line(1, head + "15000") + key_line(2, head + "150000");
  read_beacons(frame::Profile::parse(text), t);
  EXPECT_DOUBLE_EQ(t[0].elevation_m, 15000.0);
  EXPECT_DOUBLE_EQ(t[1].elevation_m, 15000.0);
}

TEST(BeaconFile, AnEmptyProfileLeavesTheTable) {
  BeaconTable t{};
  t[200] = Beacon{12, 1, 2, 3};
  const BeaconReadCounts c = read_beacons(frame::Profile{}, t);
  EXPECT_EQ(c.absent, 255);
  EXPECT_DOUBLE_EQ(t[200].beacon_channel, 12);
}

}  // namespace
}  // namespace radio
