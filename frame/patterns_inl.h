// Template parts of the selector patterns (included by patterns.h).
#pragma once

#include <algorithm>
#include <string>

namespace frame {

template <class T>
void selector(GaugeDef& g, const std::string& label, T& pos, std::initializer_list<int> values,
              int picture_offset, Layout layout) {
  g.begin_control();
  const int n = static_cast<int>(values.size());
  g.icon(label, static_cast<u32>(n), [&pos, picture_offset] {
    return static_cast<double>(static_cast<int>(pos) + picture_offset);
  });
  int i = 0;
  for (int v : values) {
    AreaOptions opt;
    opt.box = layout == Layout::kRows ? g.row(i++, n) : g.strip(i++, n);
    g.area(label + "=" + std::to_string(v), opt, [&pos, v](u32) { pos = static_cast<T>(v); });
  }
}

template <class T>
void stepper(GaugeDef& g, const std::string& label, T& pos, int lo, int hi, int picture_offset) {
  g.begin_control();
  g.icon(label, static_cast<u32>(hi - lo + 1), [&pos, picture_offset] {
    return static_cast<double>(static_cast<int>(pos) + picture_offset);
  });
  for (int dir : {-1, +1}) {
    AreaOptions opt;
    opt.box = g.half(dir > 0);
    opt.cursor = dir > 0 ? kCursorUp : kCursorDown;
    g.area(label + (dir > 0 ? "_inc" : "_dec"), opt, [&pos, lo, hi, dir](u32) {
      pos = static_cast<T>(std::clamp(static_cast<int>(pos) + dir, lo, hi));
    });
  }
}

}  // namespace frame
