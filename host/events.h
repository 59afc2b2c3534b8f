// What the modules did to the simulation: key events (ordered, with the
// frame they came in) and panel windows opened or closed. Scenario checks
// look at the events of the last "window" of calls, which the runner opens
// before each command that calls the gauges.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace host {

struct KeyEvent {
  std::uint64_t frame;  // frames run before the event (time model count)
  std::uint32_t id;
  std::uint32_t value;
};

class KeyLog {
 public:
  // Events beyond this many in one window are counted but not kept.
  static constexpr std::size_t kMaxKept = 1u << 16;

  void begin();  // forgets the previous window
  void add(std::uint64_t frame, std::uint32_t id, std::uint32_t value);

  // Value of the last event `id` of the window; nullopt when none came.
  std::optional<std::uint32_t> last(std::uint32_t id) const;
  std::uint64_t count(std::uint32_t id) const;
  std::uint64_t total() const { return total_; }
  const std::vector<KeyEvent>& events() const { return events_; }

 private:
  struct Stat {
    std::uint32_t id;
    std::uint32_t last;
    std::uint64_t count;
  };
  std::vector<KeyEvent> events_;
  std::vector<Stat> stats_;  // few distinct ids: a linear search wins
  std::uint64_t total_ = 0;
};

// Panel windows by id: closed until toggled; every toggle is logged.
class Windows {
 public:
  void toggle(std::uint32_t id);
  bool open(std::uint32_t id) const;
  struct Toggle {
    std::uint32_t id;
    bool now_open;
  };
  const std::vector<Toggle>& log() const { return log_; }

 private:
  std::vector<std::uint32_t> open_;
  std::vector<Toggle> log_;
};

}  // namespace host
