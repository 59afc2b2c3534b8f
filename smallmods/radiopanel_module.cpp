// The radio instrument module: its gauge table, the two exported records, module
// init and deinit (nothing to do), and the static initialiser that declares
// the gauges.
#include <iterator>

#include "frame/builder.h"
#include "frame/gauge.h"
#include "smallmods/radiopanel.h"

namespace {

void GAU_CALL radiopanel_init() {}
void GAU_CALL radiopanel_deinit() {}

}  // namespace

// The only two exported symbols. Constant-initialised; the module's static
// initialiser fills the gauge table.
extern "C" {
GAU_EXPORT frame::LinkageRecord Linkage = {
    frame::kModuleId, radiopanel_init, radiopanel_deinit, 0, 0, frame::kModuleVersion, {}};
GAU_EXPORT frame::ImportTableRecord ImportTable = {{frame::kImportPanelServices, nullptr},
                                                   {0, nullptr}};
}

namespace smallmods {

namespace {

// The gauge table in the order the host sees it, with design widths in mm.
constexpr frame::GaugeSpec kGaugeTable[] = {
    {"KUS_700_1100", 80}, {"KUS_1200", 80}, {"MACH_Indicator", 80}, {"VAR_30", 80},
    {"COM_1", 100},       {"COM_2", 100},   {"Transponder", 100},   {"AmbTemp", 60},
};
static_assert(std::size(kGaugeTable) == 8);

constinit RadiopanelState g_state{};

frame::Module& radiopanel_module() {
  static frame::Module m(Linkage, ImportTable, kGaugeTable, radiopanel_init, radiopanel_deinit);
  static const bool sealed = [] {
    define_radiopanel(m, g_state);
    m.seal();
    return true;
  }();
  (void)sealed;
  return m;
}

// Builds the module when the library is loaded, before the host reads Linkage.
[[maybe_unused]] const bool g_module_built = (radiopanel_module(), true);

}  // namespace

}  // namespace smallmods
