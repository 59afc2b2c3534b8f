// gaugehost: loads gauge modules the way the simulator does and drives them
// by scenario scripts.
//
//   gaugehost run SCRIPT                      run a scenario (exit 0/1/2)
//   gaugehost info MODULE [GAUGE] [--json]    a module's gauges, or one gauge
//   gaugehost info --vars [--json]            the module-variable catalogue
//   gaugehost bench SCRIPT [--frames N]       time load, start and frames
//   gaugehost xchg VERB ...                   the data exchanger, from outside
//
// Every command but xchg takes --modules DIR (default: ../gauges beside the
// executable) and --sim-root DIR (default: a fresh temporary folder,
// removed at exit).
#include <filesystem>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "frame/text.h"
#include "host/hooks.h"
#include "host/info.h"
#include "host/lexer.h"
#include "host/panel.h"
#include "host/scenario.h"
#include "host/xchg.h"
#include "platform/platform.h"

namespace {

namespace fs = std::filesystem;

constexpr int kUsageError = 2;

const char* const kUsage =
    "usage: gaugehost run SCRIPT [options]\n"
    "       gaugehost info MODULE [GAUGE] [--json] [options]\n"
    "       gaugehost info --vars [--json]\n"
    "       gaugehost bench SCRIPT [--frames N] [options]\n"
    "       gaugehost xchg dump|read|write|hold|reset|remove ... (gaugehost xchg help)\n"
    "options: --modules DIR   folder of the gauge modules (default ../gauges beside gaugehost)\n"
    "         --sim-root DIR  simulator folder the modules see (default: a temporary folder)\n";

struct Args {
  std::string command;
  std::vector<std::string> positional;
  std::string modules;
  std::string sim_root;
  bool json = false;
  bool vars = false;
  std::uint64_t frames = 1000;
};

bool parse_args(int argc, char** argv, Args* a, std::string* error) {
  if (argc < 2) {
    *error = "no command";
    return false;
  }
  a->command = argv[1];
  for (int i = 2; i < argc; ++i) {
    const std::string w = argv[i];
    auto value = [&](std::string* out) {
      if (i + 1 >= argc) {
        *error = w + " needs a value";
        return false;
      }
      *out = argv[++i];
      return true;
    };
    if (w == "--modules") {
      if (!value(&a->modules)) return false;
    } else if (w == "--sim-root") {
      if (!value(&a->sim_root)) return false;
    } else if (w == "--frames") {
      std::string n;
      if (!value(&n)) return false;
      const auto v = host::parse_integer(n, 1, 100'000'000);
      if (!v) {
        *error = "bad frame count '" + n + "'";
        return false;
      }
      a->frames = static_cast<std::uint64_t>(*v);
    } else if (w == "--json") {
      a->json = true;
    } else if (w == "--vars") {
      a->vars = true;
    } else if (w.size() > 1 && w.rfind("--", 0) == 0) {
      *error = "unknown option " + w;
      return false;
    } else {
      a->positional.push_back(w);
    }
  }
  return true;
}

fs::path executable_folder(const char* argv0) {
  std::error_code ec;
  const fs::path self = platform::executable_path();
  if (!self.empty()) return self.parent_path();
  const fs::path given = fs::absolute(fs::path(argv0 != nullptr ? argv0 : "."), ec);
  return given.parent_path();
}

std::string random_hex() {
  std::random_device rd;
  return frame::format_string("%08x", static_cast<unsigned>(rd()));
}

// The simulator folder of this run; a temporary one goes at exit.
class SimRoot {
 public:
  bool open(const std::string& given, std::string* error) {
    std::error_code ec;
    if (!given.empty()) {
      fs::create_directories(given, ec);
      if (!fs::is_directory(given)) {
        *error = "cannot use " + given + " as the simulator folder";
        return false;
      }
      path_ = fs::absolute(given, ec);
      return true;
    }
    const fs::path base = fs::temp_directory_path(ec);
    for (int attempt = 0; attempt < 100; ++attempt) {
      const fs::path p = base / ("gaugehost-" + random_hex());
      if (fs::create_directory(p, ec)) {
        path_ = p;
        temporary_ = true;
        return true;
      }
    }
    *error = "cannot create a temporary simulator folder in " + base.string();
    return false;
  }
  ~SimRoot() {
    if (!temporary_) return;
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
  bool temporary_ = false;
};

int info(const Args& a, const std::string& modules) {
  if (a.vars) {
    host::print_vars(std::cout, a.json);
    return 0;
  }
  if (a.positional.empty() || a.positional.size() > 2) {
    std::cerr << kUsage;
    return kUsageError;
  }
  host::Host h;
  host::Panel panel(h);
  std::string why;
  if (!panel.load(modules, a.positional[0], &why)) {
    std::cerr << why << "\n";
    return 2;
  }
  const host::LoadedModule& m = *panel.module(a.positional[0]);
  if (a.positional.size() == 1) {
    host::print_module(std::cout, m, a.json);
    return 0;
  }
  const host::GaugeModel* g = panel.find_gauge(m, a.positional[1]);
  if (g == nullptr) {
    std::cerr << "module " << m.name << " has no gauge " << a.positional[1] << "\n";
    return 2;
  }
  host::print_gauge(std::cout, *g, a.json);
  return 0;
}

int run(const Args& a, const std::string& modules, bool bench) {
  if (a.positional.size() != 1) {
    std::cerr << kUsage;
    return kUsageError;
  }
  host::RunOptions opt;
  opt.modules_dir = modules;
  opt.out = &std::cout;
  opt.err = &std::cerr;
  opt.bench_frames = bench ? a.frames : 0;
  host::Runner runner(opt);
  return runner.run_file(a.positional[0]);
}

}  // namespace

int main(int argc, char** argv) {
  // The exchanger commands act like any outside program: no modules, no
  // simulator folder.
  if (argc >= 2 && std::string(argv[1]) == "xchg")
    return host::xchg::command(std::vector<std::string>(argv + 2, argv + argc), std::cout,
                               std::cerr);

  Args a;
  std::string why;
  if (!parse_args(argc, argv, &a, &why)) {
    std::cerr << "gaugehost: " << why << "\n" << kUsage;
    return kUsageError;
  }
  if (a.command == "help" || a.command == "--help" || a.command == "-h") {
    std::cout << kUsage;
    return 0;
  }
  if (a.command != "run" && a.command != "info" && a.command != "bench") {
    std::cerr << "gaugehost: unknown command " << a.command << "\n" << kUsage;
    return kUsageError;
  }

  std::string modules = a.modules;
  if (modules.empty())
    modules = (executable_folder(argv[0]) / ".." / "gauges").lexically_normal().string();
  SimRoot root;
  if (!root.open(a.sim_root, &why)) {
    std::cerr << "gaugehost: " << why << "\n";
    return 2;
  }
  host::hooks::set_sim_root(root.path().string());
  // The modules' shared objects carry GAUGEHOST_NAME_SUFFIX when it is set
  // (an outside reader then finds them, and they stay after the run), else
  // a suffix of this run's own, whose objects go when it ends.
  const auto given_suffix = platform::env(host::xchg::kSuffixVariable);
  const std::string suffix = given_suffix ? *given_suffix : "_gh" + random_hex();
  host::hooks::set_name_suffix(suffix);
  struct RemoveOwnObjects {
    const std::string* suffix;
    ~RemoveOwnObjects() {
      if (suffix != nullptr) host::xchg::remove_objects(*suffix);
    }
  } remove_own{given_suffix ? nullptr : &suffix};

  if (a.command == "info") return info(a, modules);
  return run(a, modules, a.command == "bench");
}
