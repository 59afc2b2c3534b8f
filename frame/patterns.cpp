#include "frame/patterns.h"

#include <algorithm>
#include <cmath>

#include "frame/text.h"

namespace frame {

GuardedClick guarded_click(GuardedClick s, u32 flags, bool close_sets_on, int on) {
  if (flags & kMouseRight) {
    const bool closing = s.guard != 0;
    s.guard = closing ? 0 : 1;
    if (closing && close_sets_on) s.sw = on;
  } else if ((flags & kMouseLeft) && s.guard != 0) {
    s.sw = s.sw != 0 ? 0 : on;
  }
  return s;
}

double knob_step(double value, int dir, u32 flags, const KnobRange& r) {
  if (!std::isfinite(value)) value = r.min;
  const double step = (flags & kMouseRight) ? r.large_step : r.small_step;
  double v = value + (dir < 0 ? -step : step);
  if (r.wrap) {
    const double span = r.max - r.min;
    if (span > 0) {
      if (v < r.min || v > r.max) v = r.min + std::fmod(v - r.min, span);
      if (v < r.min) v += span;
    }
  } else {
    v = std::clamp(v, r.min, r.max);
  }
  return v;
}

DrumValues drum_split(double number, int n) {
  DrumValues d;
  d.n = std::clamp(n, 1, kMaxDrums);
  if (!std::isfinite(number)) return d;
  const double span = std::pow(10.0, d.n);
  double x = std::fmod(number, span);
  if (x < 0) x += span;
  if (x >= span) x = 0;  // rounding at the top of the range
  d.v[0] = std::fmod(x, 10.0) * 100.0;
  for (int k = 1; k < d.n; ++k) {
    const double digit = std::fmod(std::floor(x / std::pow(10.0, k)), 10.0);
    d.v[static_cast<std::size_t>(k)] = digit * 100.0;
  }
  return d;
}

double drum_show(const DrumValues& d, int k) {
  if (k < 0 || k >= d.n) return 0.0;
  const double a = d.v[0];
  const double b = d.v[static_cast<std::size_t>(k)];
  if (k == 0) return a;
  if (!(a > 900.0 && a < 1000.0)) return b;
  for (int j = 1; j < k; ++j)
    if (d.v[static_cast<std::size_t>(j)] != 900.0) return b;
  return a + b - 900.0;
}

Elem toggle(GaugeDef& g, const std::string& label, int& pos, Box box) {
  g.begin_control();
  Elem e = g.icon(label, 2, [&pos] { return pos != 0 ? 1.0 : 0.0; });
  AreaOptions opt;
  opt.box = box;
  g.area(label, opt, [&pos](u32) { pos = pos != 0 ? 0 : 1; });
  return e;
}

void guarded(GaugeDef& g, int& guard, int& sw, GuardedOptions opt) {
  g.begin_control();
  g.icon(opt.guard_label, 2, [&guard] { return guard != 0 ? 1.0 : 0.0; });
  const int on = opt.on;
  g.icon(opt.switch_label, static_cast<u32>(on + 1), [&sw] { return static_cast<double>(sw); });
  AreaOptions area;
  area.flags = kMouseLeft | kMouseRight | (opt.repeat ? kMouseRepeat : 0u);
  g.area(opt.switch_label, area, [&guard, &sw, on, close = opt.close_sets_on](u32 flags) {
    GuardedClick s = guarded_click({guard, sw}, flags, close, on);
    guard = s.guard;
    sw = s.sw;
  });
}

void spring(GaugeDef& g, const std::string& label, int& pos, int& counter, int rest, int frames,
            std::initializer_list<SpringPos> positions, u32 flags) {
  g.begin_control();
  int hi = rest;
  for (const auto& p : positions) hi = std::max(hi, p.value);
  g.icon(label, static_cast<u32>(hi + 1), [&pos] { return static_cast<double>(pos); });
  const int n = static_cast<int>(positions.size());
  int i = 0;
  for (const auto& p : positions) {
    AreaOptions opt;
    opt.flags = flags;
    opt.box = (p.box.w > 0) ? p.box : g.strip(i, n);
    ++i;
    const int v = p.value;
    const std::string name = n == 1 ? label : label + "=" + std::to_string(v);
    g.area(name, opt, [&pos, &counter, v, frames](u32) {
      pos = v;
      counter = frames;
    });
  }
  g.every_frame([&pos, &counter, rest] {
    if (counter > 0 && --counter == 0) pos = rest;
  });
}

void knob(GaugeDef& g, const std::string& label, double& value, KnobOptions opt) {
  g.begin_control();
  auto shared = std::make_shared<KnobOptions>(std::move(opt));
  if (KnobTurn* turn = shared->turn) {
    g.icon(label, 3, [turn] { return static_cast<double>(turn->dir + 1); });
    g.every_frame([turn] {
      if (turn->frames > 0 && --turn->frames == 0) turn->dir = 0;
    });
  }
  for (int dir : {-1, +1}) {
    AreaOptions a;
    a.box = g.half(dir > 0);
    a.cursor = dir > 0 ? kCursorUp : kCursorDown;
    a.flags = shared->flags | (shared->repeat ? kMouseRepeat : 0u);
    g.area(label + (dir > 0 ? "_inc" : "_dec"), a, [&value, shared, dir](u32 flags) {
      if (shared->enabled && !shared->enabled()) return;
      value = knob_step(value, dir, flags, shared->range);
      if (shared->turn) {
        shared->turn->dir = static_cast<std::int8_t>(dir);
        shared->turn->frames = kKnobTurnFrames;
      }
      if (shared->on_change) shared->on_change();
    });
  }
}

void popup(GaugeDef& g, Elem readout, int& counter) {
  g.every_frame([readout, &counter] {
    readout.hide(counter <= 1);
    if (counter > 0) --counter;
  });
}

Elem lamp(GaugeDef& g, const std::string& name, const int& power, const int& lamp_test,
          std::function<bool()> condition) {
  return g.icon("lamp_" + name, 1, [&power, &lamp_test, cond = std::move(condition)] {
    return lamp_picture(power, cond && cond(), lamp_test);
  });
}

std::vector<Elem> drums(GaugeDef& g, const std::string& label, int n, ValueFn number) {
  n = std::clamp(n, 1, kMaxDrums);
  auto shared = std::make_shared<ValueFn>(std::move(number));
  std::vector<Elem> out;
  for (int k = 0; k < n; ++k) {
    out.push_back(g.moving(label + "_d" + std::to_string(k), "drum 0..1000, 100 per digit", nullptr,
             [shared, n, k] { return drum_show(drum_split((*shared) ? (*shared)() : 0.0, n), k); },
             0.0, 1000.0));
  }
  return out;
}

Elem text_display(GaugeDef& g, const std::string& label, u32 capacity, const char* fmt,
                  ValueFn value) {
  return g.text(label, capacity, [fmt, v = std::move(value)](char* buf, std::size_t cap) {
    const double x = v ? v() : 0.0;
    format_value(buf, cap, fmt, x);
    return x;
  });
}

void mirror(GaugeDef& panel, const GaugeDef& source, const std::string& area_label,
            AreaOptions opt) {
  panel.begin_control();
  // Looked up at the click, so the source may declare its area later.
  panel.area(area_label, opt, [&source, area_label](u32 flags) {
    if (const ClickFn* fn = source.find_area(area_label); fn && *fn) (*fn)(flags);
  });
}

}  // namespace frame
