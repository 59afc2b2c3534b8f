// Loading a gauge module: open the shared library through the platform
// loader, check its module record, write the host's service table into its
// import record before anything of it runs, call its init, read its gauge
// table. Unloading calls deinit and closes the library.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "frame/gauge.h"
#include "frame/host.h"
#include "host/gauge_model.h"

namespace host {

struct LoadedModule {
  std::string name;
  std::string path;
  void* library = nullptr;
  frame::LinkageRecord* linkage = nullptr;
  frame::ImportTableRecord* imports = nullptr;
  bool initialized = false;
  // In table order; unique_ptr keeps each model's address stable.
  std::vector<std::unique_ptr<GaugeModel>> gauges;

  ~LoadedModule();  // deinit (if init ran) and unload
  LoadedModule() = default;
  LoadedModule(const LoadedModule&) = delete;
  LoadedModule& operator=(const LoadedModule&) = delete;

  // Calls deinit once, if init ran.
  void deinit();
  const GaugeModel* find(std::string_view gauge) const;
};

// The path of module `name` in `folder`: NAME + the platform's suffix.
std::string module_file(const std::string& folder, const std::string& name);

// Loads `name` from `folder`; null with a message in *error on failure.
std::unique_ptr<LoadedModule> load_module(const std::string& folder, const std::string& name,
                                          const frame::PanelServices* services,
                                          std::string* error);

}  // namespace host
