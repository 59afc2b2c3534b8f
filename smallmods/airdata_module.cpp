// The air-data module: its gauge table, the two exported records, module
// init and deinit (nothing to do), and the static initialiser that declares
// the gauges.
#include <iterator>

#include "frame/builder.h"
#include "frame/gauge.h"
#include "smallmods/airdata.h"

namespace {

void GAU_CALL airdata_init() {}
void GAU_CALL airdata_deinit() {}

}  // namespace

// The only two exported symbols. Constant-initialised; the module's static
// initialiser fills the gauge table.
extern "C" {
GAU_EXPORT frame::LinkageRecord Linkage = {
    frame::kModuleId, airdata_init, airdata_deinit, 0, 0, frame::kModuleVersion, {}};
GAU_EXPORT frame::ImportTableRecord ImportTable = {{frame::kImportPanelServices, nullptr},
                                                   {0, nullptr}};
}

namespace smallmods {

namespace {

// The gauge table in the order the host sees it, with design widths in mm.
constexpr frame::GaugeSpec kGaugeTable[] = {
    {"KUS_700_1100", 80}, {"KUS_1200", 80}, {"MACH_Indicator", 80},
    {"Altimeter", 80},    {"VAR_30", 80},   {"UVID_F", 80},
    {"UVO", 80},          {"UM_1", 80},     {"US_I", 80},
};
static_assert(std::size(kGaugeTable) == 9);

constinit AirdataState g_state{};

frame::Module& airdata_module() {
  static frame::Module m(Linkage, ImportTable, kGaugeTable, airdata_init, airdata_deinit);
  static const bool sealed = [] {
    define_airdata(m, g_state);
    m.seal();
    return true;
  }();
  (void)sealed;
  return m;
}

// Builds the module when the library is loaded, before the host reads Linkage.
[[maybe_unused]] const bool g_module_built = (airdata_module(), true);

}  // namespace

}  // namespace smallmods
