#include "host/loader.h"

#include "frame/text.h"
#include "platform/platform.h"

namespace host {

LoadedModule::~LoadedModule() {
  deinit();
  gauges.clear();
  if (library != nullptr) platform::unload_library(library);
}

void LoadedModule::deinit() {
  if (!initialized) return;
  initialized = false;
  if (linkage != nullptr && linkage->deinit != nullptr) linkage->deinit();
}

const GaugeModel* LoadedModule::find(std::string_view gauge) const {
  for (const auto& g : gauges)
    if (g->name == gauge) return g.get();
  return nullptr;
}

std::string module_file(const std::string& folder, const std::string& name) {
  std::string path = folder;
  if (!path.empty() && path.back() != '/') path.push_back('/');
  return path + name + platform::module_suffix();
}

std::unique_ptr<LoadedModule> load_module(const std::string& folder, const std::string& name,
                                          const frame::PanelServices* services,
                                          std::string* error) {
  auto fail = [&](std::string why) -> std::unique_ptr<LoadedModule> {
    if (error != nullptr) *error = std::move(why);
    return nullptr;
  };

  auto m = std::make_unique<LoadedModule>();
  m->name = name;
  m->path = module_file(folder, name);
  std::string why;
  m->library = platform::load_library(m->path, &why);
  if (m->library == nullptr) return fail("cannot load module " + m->path + ": " + why);

  m->linkage = static_cast<frame::LinkageRecord*>(platform::library_symbol(m->library, "Linkage"));
  m->imports =
      static_cast<frame::ImportTableRecord*>(platform::library_symbol(m->library, "ImportTable"));
  if (m->linkage == nullptr || m->imports == nullptr)
    return fail(m->path + " exports no Linkage or no ImportTable");
  if (m->linkage->module_id != frame::kModuleId || m->linkage->version != frame::kModuleVersion) {
    return fail(frame::format_string("%s: module record id 0x%X version 0x%X, expected 0x%X 0x%X",
                                     m->path.c_str(), m->linkage->module_id,
                                     m->linkage->version, frame::kModuleId,
                                     frame::kModuleVersion));
  }
  if (m->imports->panels.id != frame::kImportPanelServices)
    return fail(frame::format_string("%s: import record starts with id 0x%X, expected 0x%X",
                                     m->path.c_str(), m->imports->panels.id,
                                     frame::kImportPanelServices));

  // The table goes in before any module code is called.
  m->imports->panels.ptr = const_cast<frame::PanelServices*>(services);
  if (m->linkage->init != nullptr) m->linkage->init();
  m->initialized = true;

  for (std::size_t i = 0; i < frame::kMaxGauges; ++i) {
    frame::GaugeHeader* h = m->linkage->gauges[i];
    if (h == nullptr) break;
    if (h->version != frame::kGaugeHeaderVersion || h->name == nullptr) {
      return fail(frame::format_string("%s: gauge %zu has header version 0x%X%s", m->path.c_str(),
                                       i, h->version, h->name == nullptr ? " and no name" : ""));
    }
    m->gauges.push_back(std::make_unique<GaugeModel>(read_gauge(h, name, i)));
  }
  return m;
}

}  // namespace host
