// The annunciator lamp gauges. Each lamp is powered by the main bus and lit
// by the lamp test until the system that owns its condition supplies one.
#include <cctype>
#include <string>

#include "frame/builder.h"
#include "frame/patterns.h"
#include "frame/state.h"

namespace frame {

namespace {

// The navigation computer's lamps (NVU_Tablo_*) are its own: nav/nvu_gauges.cpp.
constexpr const char* kLampGauges[] = {
    "Tablo_1",       "Tablo_2",       "Tablo_3",       "Tablo_6a",      "Tablo_6a_b",
    "Tablo_71",      "Tablo_72",      "Tablo_73",      "Tablo_74",      "Tablo_75",
    "Tablo_201",     "Tablo_203",     "Tablo_271",     "Tablo_272",     "Tablo_273",
    "Tablo_274",     "Tablo_275",     "Tablo_Trim",    "Tablo_Trim_B",  "Tablo_Stab",
    "Tablonn_71",    "Tablonn_72",    "tablonn_73",    "tablonn_74",    "tablonn_75",
    "tablonn_271",   "tablonn_272",   "tablonn_273",   "tablonn_274",   "tablonn_275",
};

// Condition of a lamp whose owning system does not exist yet: never lit
// except by the lamp test.
bool condition_not_yet_owned() { return false; }

std::string lamp_name(const char* gauge) {
  std::string s(gauge);
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

void define_lamps(Module& m) {
  SystemsState& s = systems();
  for (const char* name : kLampGauges)
    lamp(m.gauge(name), lamp_name(name), s.electrical.main_bus, s.lamp_test.flag,
         condition_not_yet_owned);
}

}  // namespace frame
