#include "host/panel.h"

#include <algorithm>


namespace host {
namespace {

using Clock = std::chrono::steady_clock;

char fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool same_folded(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return fold(x) == fold(y);
         });
}

const char* const kKilled = "the gauges were killed; nothing runs after kill";

}  // namespace

bool Panel::load(const std::string& folder, const std::string& name, std::string* error) {
  if (module(name) != nullptr) return true;
  const auto t0 = Clock::now();
  auto m = load_module(folder, name, Host::services(), error);
  timings_.load += Clock::now() - t0;
  if (!m) return false;
  modules_.push_back(std::move(m));
  return true;
}

const LoadedModule* Panel::module(std::string_view name) const {
  for (const auto& m : modules_)
    if (m->name == name) return m.get();
  for (const auto& m : modules_)
    if (same_folded(m->name, name)) return m.get();
  return nullptr;
}

GaugeModel* Panel::find_gauge(const LoadedModule& m, std::string_view gauge) {
  for (const auto& g : m.gauges)
    if (g->name == gauge) return g.get();
  for (const auto& g : m.gauges)
    if (same_folded(g->name, gauge)) return g.get();
  return nullptr;
}

GaugeModel* Panel::resolve(std::string_view ref, std::string* error) {
  const std::size_t bang = ref.find('!');
  if (bang != std::string_view::npos) {
    const std::string_view mod = ref.substr(0, bang);
    const std::string_view name = ref.substr(bang + 1);
    const LoadedModule* m = module(mod);
    if (m == nullptr) {
      *error = "module " + std::string(mod) + " is not loaded";
      return nullptr;
    }
    GaugeModel* g = find_gauge(*m, name);
    if (g == nullptr) *error = "module " + m->name + " has no gauge " + std::string(name);
    return g;
  }
  GaugeModel* found = nullptr;
  std::string where;
  int count = 0;
  for (const auto& m : modules_) {
    for (const auto& g : m->gauges) {
      if (g->name != ref) continue;
      if (count++ == 0) found = g.get();
      where += (where.empty() ? "" : ", ") + m->name;
      break;
    }
  }
  if (count == 1) return found;
  if (count == 0)
    *error = "no loaded module has a gauge " + std::string(ref);
  else
    *error = "gauge " + std::string(ref) + " is ambiguous (in " + where +
             "): write MODULE!" + std::string(ref);
  return nullptr;
}

bool Panel::alive(std::string* error) const {
  if (state_ != State::kKilled) return true;
  *error = kKilled;
  return false;
}

void Panel::service(const Placement& p, frame::i32 code) {
  if (p.header->callback != nullptr) p.header->callback(p.header, code, 0);
}

bool Panel::placed(const GaugeModel& gauge) const {
  return std::any_of(placements_.begin(), placements_.end(),
                     [&](const Placement& p) { return p.gauge == &gauge; });
}

bool Panel::place(GaugeModel& gauge, std::string* error) {
  if (!alive(error)) return false;
  placements_.push_back(Placement{&gauge, gauge.header, gauge.first_element(), false});
  if (state_ == State::kStarted) start_one(placements_.back());
  return true;
}

void Panel::start_one(Placement& p) {
  service(p, frame::kPreInstall);
  if (p.header->install != nullptr) p.header->install(p.first, 0);
  service(p, frame::kPreInitialize);
  if (p.header->initialize != nullptr) p.header->initialize(p.first, 0);
  service(p, frame::kConnectWindow);
  p.started = true;
}

bool Panel::start(std::string* error) {
  if (!alive(error)) return false;
  if (state_ == State::kStarted) return true;
  state_ = State::kStarted;
  auto t0 = Clock::now();
  for (Placement& p : placements_) {
    service(p, frame::kPreInstall);
    if (p.header->install != nullptr) p.header->install(p.first, 0);
  }
  auto t1 = Clock::now();
  timings_.service2 += t1 - t0;
  for (Placement& p : placements_) {
    service(p, frame::kPreInitialize);
    if (p.header->initialize != nullptr) p.header->initialize(p.first, 0);
  }
  t0 = Clock::now();
  timings_.service4 += t0 - t1;
  for (Placement& p : placements_) {
    service(p, frame::kConnectWindow);
    p.started = true;
  }
  timings_.service14 += Clock::now() - t0;
  ++epoch_;
  return true;
}

void Panel::one_frame() {
  host_.step();
  ++epoch_;
  for (Placement& p : placements_) {
    service(p, frame::kPreUpdate);
    if (p.header->update != nullptr) p.header->update(p.first, 0);
    evaluate_all(*p.gauge);
    p.gauge->epoch = epoch_;
  }
}

bool Panel::run_frames(std::uint64_t n, std::string* error) {
  if (!start(error)) return false;
  for (std::uint64_t i = 0; i < n; ++i) one_frame();
  return true;
}

bool Panel::click(const AreaInfo& area, frame::u32 button, std::uint64_t hold,
                  std::string* error) {
  if (!start(error)) return false;
  const frame::MouseArea& a = *area.record;
  const bool takes = (a.flags & button) != 0;
  frame::MouseHandler handler = nullptr;
  if (a.handler != nullptr) handler = reinterpret_cast<frame::MouseHandler>(a.handler);
  frame::PixPoint point{a.x + a.w / 2, a.y + a.h / 2};
  auto press = [&] {
    if (takes && handler != nullptr) {
      frame::PixPoint pt = point;
      handler(&pt, button);
    }
  };
  if (hold == 0) {
    press();
  } else {
    const bool repeats = (a.flags & frame::kMouseRepeat) != 0;
    for (std::uint64_t i = 0; i < hold; ++i) {
      if (i == 0 || repeats) press();
      one_frame();
    }
  }
  ++epoch_;
  return true;
}

bool Panel::attach(GaugeModel* gauge, std::string* error) {
  if (!start(error)) return false;
  for (Placement& p : placements_)
    if (gauge == nullptr || p.gauge == gauge) service(p, frame::kConnectWindow);
  ++epoch_;
  return true;
}

void Panel::kill() {
  if (state_ == State::kKilled) return;
  if (state_ == State::kStarted) {
    for (Placement& p : placements_) {
      if (!p.started) continue;
      service(p, frame::kPreKill);
      if (p.header->kill != nullptr) p.header->kill(p.first, 0);
      p.started = false;
    }
  }
  state_ = State::kKilled;
  ++epoch_;
}

void Panel::finish() {
  kill();
  for (auto& m : modules_) m->deinit();
  // Records of the modules are about to go: nothing may point at them.
  host_.names().forget_modules();
  placements_.clear();
  modules_.clear();
}

const std::vector<Reading>& Panel::readings(GaugeModel& gauge) {
  if (gauge.epoch != epoch_) {
    evaluate_all(gauge);
    gauge.epoch = epoch_;
  }
  return gauge.readings;
}

}  // namespace host
