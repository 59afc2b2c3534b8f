#include "host/events.h"

#include <algorithm>

namespace host {

void KeyLog::begin() {
  events_.clear();
  stats_.clear();
  total_ = 0;
}

void KeyLog::add(std::uint64_t frame, std::uint32_t id, std::uint32_t value) {
  if (events_.size() < kMaxKept) events_.push_back(KeyEvent{frame, id, value});
  ++total_;
  for (Stat& s : stats_) {
    if (s.id == id) {
      s.last = value;
      ++s.count;
      return;
    }
  }
  stats_.push_back(Stat{id, value, 1});
}

std::optional<std::uint32_t> KeyLog::last(std::uint32_t id) const {
  for (const Stat& s : stats_)
    if (s.id == id) return s.last;
  return std::nullopt;
}

std::uint64_t KeyLog::count(std::uint32_t id) const {
  for (const Stat& s : stats_)
    if (s.id == id) return s.count;
  return 0;
}

void Windows::toggle(std::uint32_t id) {
  const auto it = std::find(open_.begin(), open_.end(), id);
  const bool now_open = it == open_.end();
  if (now_open)
    open_.push_back(id);
  else
    open_.erase(it);
  if (log_.size() < KeyLog::kMaxKept) log_.push_back(Toggle{id, now_open});
}

bool Windows::open(std::uint32_t id) const {
  return std::find(open_.begin(), open_.end(), id) != open_.end();
}

}  // namespace host
