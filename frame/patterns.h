// The recurring gauge patterns: switches, selectors, knobs, lamps, drum
// counters, text displays, needles. Each helper declares the elements and
// mouse areas of one control on a GaugeDef and, where the pattern has frame
// work (spring return, knob animation, pop-up timers), adds it to the gauge's
// service 6. Positions and counters live in the caller's state records; the
// helpers hold only references to them.
//
// Labels: a control is labelled with the state field it shows or changes;
// areas that step a value are FIELD_dec / FIELD_inc, areas that set a fixed
// position FIELD=VALUE, lamps lamp_NAME.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <functional>
#include <vector>

#include "frame/builder.h"

namespace frame {

// Pure rules, testable without a gauge ---------------------------------------

// Lamp picture: dark (-1) unless powered; lit (0) when its condition or the
// lamp test is on.
inline double lamp_picture(int power, bool condition, int lamp_test) {
  if (power != 1) return -1.0;
  return (condition || lamp_test != 0) ? 0.0 : -1.0;
}

struct GuardedClick {
  int guard;
  int sw;
};
// A click on a guarded switch. Right inverts the guard (closing an open guard
// turns the switch on when `close_sets_on`); left inverts the switch while the
// guard is open. `on` is the switch's on value (1, or 2 for three pictures).
GuardedClick guarded_click(GuardedClick s, u32 flags, bool close_sets_on, int on = 1);

struct KnobRange {
  double small_step = 1.0;  // left click
  double large_step = 10.0; // right click
  double min = 0.0;
  double max = 360.0;
  bool wrap = false;  // angles: below min add span, above max subtract span
};
// One knob step in direction dir (+1 or -1) by the step for those flags.
double knob_step(double value, int dir, u32 flags, const KnobRange& r);

// Drum values of a counter: one value 0..1000 per drum (100 per digit),
// drum 0 the lowest.
inline constexpr int kMaxDrums = 8;
struct DrumValues {
  std::array<double, kMaxDrums> v{};
  int n = 0;
};
// Splits `number` (in units of the lowest digit) into `n` drum values. The
// lowest drum turns continuously (digit and fraction); higher drums show whole
// digits. Negative numbers and numbers beyond the drums wrap as on an
// odometer; a non-finite number shows zeros.
DrumValues drum_split(double number, int n);
// What drum k shows: its own value, except while the lowest drum turns from 9
// to 0 (strictly between 900 and 1000) and every drum between shows exactly
// 900, when it rolls on with the lowest: a + b - 900.
double drum_show(const DrumValues& drums, int k);

// The knob turning animation: direction byte and its frame counter.
struct KnobTurn {
  std::int8_t dir = 0;
  int frames = 0;
};
inline constexpr int kKnobTurnFrames = 12;

// Patterns ---------------------------------------------------------------

// 1. Toggle: icon of two pictures (0/1), one hand area inverting `pos`.
Elem toggle(GaugeDef& g, const std::string& label, int& pos, Box box = {});

// 2. Guarded switch: icons `guard` and `switch`, one area for both buttons.
struct GuardedOptions {
  int on = 1;                 // switch's on picture/value
  bool close_sets_on = true;  // AZS_RazvKol: false
  std::string guard_label = "guard";
  std::string switch_label = "switch";
  bool repeat = false;  // the area repeats while a button is held
};
void guarded(GaugeDef& g, int& guard, int& sw, GuardedOptions opt = {});

// 3. Spring-loaded switch: each area sets a position and starts the hold;
// service 6 counts down and returns to `rest` at 0.
struct SpringPos {
  int value;
  Box box{};
};
void spring(GaugeDef& g, const std::string& label, int& pos, int& counter, int rest, int frames,
            std::initializer_list<SpringPos> positions, u32 flags = kMouseLeft);

// 4. Selector with one area per fixed position: areas FIELD=V, laid out left
// to right (kColumns) or top to bottom (kRows, for up/middle/down levers).
// The icon shows pos + picture_offset (1 for a signed -1/0/+1 lever).
enum class Layout { kColumns, kRows };
template <class T>
void selector(GaugeDef& g, const std::string& label, T& pos, std::initializer_list<int> values,
              int picture_offset = 0, Layout layout = Layout::kColumns);
// Selector stepped by a pair of areas FIELD_dec / FIELD_inc between ends.
template <class T>
void stepper(GaugeDef& g, const std::string& label, T& pos, int lo, int hi,
             int picture_offset = 0);

// 5. Rotary knob: areas FIELD_dec / FIELD_inc with repeat; clamps or wraps.
// `enabled` (may be empty) gates the knob on its unit's power. With `turn`,
// the knob icon shows the turning direction + 1 for 12 frames. `on_change`
// runs after every accepted step.
struct KnobOptions {
  KnobRange range{};
  bool repeat = true;
  std::function<bool()> enabled{};
  KnobTurn* turn = nullptr;
  std::function<void()> on_change{};
  u32 flags = kMouseLeft | kMouseRight;
};
void knob(GaugeDef& g, const std::string& label, double& value, KnobOptions opt);

// 6. Pop-up readout: visible while `counter` > 1; service 6 counts it down.
void popup(GaugeDef& g, Elem readout, int& counter);

// 7. Lamp: an icon lit (0) or dark (-1) by `lamp_picture`.
Elem lamp(GaugeDef& g, const std::string& name, const int& power, const int& lamp_test,
          std::function<bool()> condition);

// 8. Drum counter of `n` moving images FIELD_d0 (lowest) .. FIELD_d{n-1},
// showing `number` in units of the lowest digit. Returns the drums, lowest
// first, so a gauge can hide them.
std::vector<Elem> drums(GaugeDef& g, const std::string& label, int n, ValueFn number);

// 9. Text display: the value formatted with `fmt` (one numeric conversion),
// bounded to `capacity`.
Elem text_display(GaugeDef& g, const std::string& label, u32 capacity, const char* fmt,
                  ValueFn value);

// 10. Needle: its callback returns the reading in the needle's scale.
inline Elem needle(GaugeDef& g, const std::string& label, const std::string& meaning,
                   ValueFn value) {
  return g.needle(label, meaning, std::move(value));
}

// 12. Click panel: an area of `panel` that works another gauge's area.
void mirror(GaugeDef& panel, const GaugeDef& source, const std::string& area_label,
            AreaOptions opt = {});

}  // namespace frame

#include "frame/patterns_inl.h"
