// The world's scenario verbs through the runner, in process, without any
// module: parse errors, print and expect of world keys, pause and resume,
// events, pinned variables.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "host/scenario.h"
#include "tests/host/run_script.h"

namespace host {
namespace {

using host::script::Outcome;
using host::script::run;

TEST(WorldVerbs, MalformedLinesAreScriptErrors) {
  const char* bad[] = {
      "aircraft",
      "aircraft lat",
      "aircraft lat 95",
      "aircraft speed 5",
      "fly",
      "fly heading",
      "fly vs 5",
      "station",
      "station vor",
      "station vor X lat 1 lon 2",               // no freq
      "station vor X lat 1 lon 2 freq 120.0",    // out of the band
      "station vor X lat 1 lon 2 freq 113.333",  // not a 10 kHz step
      "station vor X lat 1 lon 2 freq 113.3 course 90",  // no course on a VOR
      "station ils X lat 1 lon 2 freq 110.3",    // no course
      "station marker X lat 1 lon 2",            // no kind
      "station marker X lat 1 lon 2 kind outerr",
      "station tacan X lat 1 lon 2 freq 113.3",
      "station ndb X lat 1 lon 2 freq 113.3",    // kHz: 190 to 1750
      "atmosphere",
      "atmosphere qnh 500",
      "atmosphere wind 5",
      "pause 2",
      "pause 1 2",
      "resume 1",
      "event 65708",
      "event 65708 x",
      "event -1 0",
      "event 65708 0x100000000",
      "seconds",
      "seconds -1",
      "print world",
      "print world bogus",
      "expect world lat",
      "expect world lat == 1 2",
  };
  for (const char* line : bad) {
    const Outcome r = run(std::string("# first\n") + line + "\n");
    EXPECT_EQ(r.status, 2) << line;
    EXPECT_EQ(r.err.rfind("t.gh:2: ", 0), 0u) << line << " -> " << r.err;
    EXPECT_TRUE(r.out.empty()) << line;
  }
}

TEST(WorldVerbs, PrintAndExpectWorldKeys) {
  const Outcome r = run(
      "aircraft lat 55.75 lon 37.6 alt 3000 heading 0 gs 800\n"
      "print world lat\n"
      "print world gs\n"
      "expect world on_ground == 0\n"
      "expect world alt == 3000\n"
      "expect world lat == 1\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "world lat = 55.75\nworld gs = 800\n");
  EXPECT_EQ(r.err, "t.gh:6: expect FAILED: world lat == 1 (seen 55.75)\n");
}

TEST(WorldVerbs, AScenarioThatPlacesNothingStillFlies) {
  const Outcome r = run(
      "aircraft lat 0 lon 0 alt 1000 heading 90 tas 360\n"
      "seconds 10\n"
      "expect world lon ~ 0.008983 0.00001\n"   // 1 km east at the equator
      "expect var 1 == 180\n"
      "expect var 604 ~ 10 1e-9\n");
  EXPECT_EQ(r.status, 0) << r.err;
}

TEST(WorldVerbs, PauseAndResumeFreezeSimulatedTimeOnly) {
  const Outcome r = run(
      "aircraft lat 0 lon 0 alt 1000 heading 90 tas 360\n"
      "pause\n"
      "seconds 2\n"
      "expect var 1 == 36\n"
      "expect var 604 == 0\n"
      "expect world lon == 0\n"
      "resume\n"
      "seconds 1\n"
      "expect var 604 ~ 1 1e-9\n"
      "pause 1\n"
      "frames 18\n"
      "expect var 604 ~ 1 1e-9\n"
      "pause 0\n"
      "frames 18\n"
      "expect var 604 ~ 2 1e-9\n");
  EXPECT_EQ(r.status, 0) << r.err;
}

TEST(WorldVerbs, EventsReachTheWorldButNotTheKeyLog) {
  const Outcome r = run(
      "event 65708 0x1130\n"
      "event 65716 -1\n"
      "expect var 24 == 0x1130\n"
      "expect var 45 == 359\n"
      "frames 1\n"
      "expect keys 65708 == 0\n"
      "expect var 24 == 0x1130\n");
  EXPECT_EQ(r.status, 0) << r.err;
}

TEST(WorldVerbs, VarPinsOverTheWorld) {
  const Outcome r = run(
      "aircraft lat 10 lon 0 alt 1000 heading 0 tas 360\n"
      "var 71 0\n"
      "var 753 12\n"
      "aircraft volts 24\n"
      "seconds 1\n"
      "expect var 71 == 0\n"
      "expect var 753 == 12\n"
      "expect world volts == 24\n"
      "free 753\n"
      "seconds 0.1\n"
      "expect var 753 == 24\n");
  EXPECT_EQ(r.status, 0) << r.err;
}

TEST(WorldVerbs, StationsTuneAndReplace) {
  const Outcome r = run(
      "station vordme MOW lat 0.1 lon 0 elev 0 freq 111.30\n"
      "aircraft lat 0 lon 0 alt 3000 heading 0 tas 360\n"
      "event 65708 0x1130\n"
      "expect var 43 == 1\n"
      "expect var 31 ~ 6.2 0.1\n"   // 11.1 km away, 3 km up
      "station vordme MOW lat 0.2 lon 0 elev 0 freq 111.30\n"
      "expect var 31 ~ 12.0 0.2\n"
      "station vor OTHER lat 0.2 lon 0 freq 111.40\n"
      "event 65708 0x1140\n"
      "expect var 31 == -1\n"
      "expect var 43 == 1\n");
  EXPECT_EQ(r.status, 0) << r.err;
}

}  // namespace
}  // namespace host
