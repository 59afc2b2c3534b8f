// The host's panel services as a module sees them: the service table whose
// address the host writes into the import record, and the module-variable
// record. The module calls the host only through these.
#pragma once

#include "frame/gauge.h"

namespace frame {

// Module variable record. Starts with only `id` set; a record bound by name
// has id 0 and, once bound, `ptr` at the registered storage (null while the
// name is absent or withdrawn: readers check it before every use).
struct ModuleVar {
  u32 id;
  void* ptr;
  u32 type;
  double value;
  double prev;
};

// Type codes of register_var_by_name.
enum VarType : u32 {
  kVarDouble = 0x21,  // double storage
  kVarFlag = 0x22,    // int storage (some names keep a double; see the name)
  kVarInt = 0x14,     // int storage
};

// The host's table of panel services, in this order.
struct PanelServices {
  ElementListFn element_list_query;
  ElementListFn element_list_install;
  ElementListFn element_list_initialize;
  ElementListFn element_list_update;
  ElementListFn element_list_generate;
  ElementListFn element_list_plot;
  ElementListFn element_list_kill;
  void(GAU_CALL* panel_window_toggle)(u32 window_id);
  void(GAU_CALL* trigger_key_event)(u32 event_id, u32 value);
  void(GAU_CALL* register_var_by_name)(void* storage, u32 type, const char* name);
  void(GAU_CALL* initialize_var_by_name)(ModuleVar* var, const char* name);
  void(GAU_CALL* lookup_var)(ModuleVar* var);
  void(GAU_CALL* unregister_var_by_name)(const char* name);
  i32(GAU_CALL* check_named_variable)(const char* name);
  i32(GAU_CALL* register_named_variable)(const char* name);
  void(GAU_CALL* set_named_variable_value)(i32 id, double value);
  i32(GAU_CALL* get_units_enum)(const char* unit_name);
  double(GAU_CALL* aircraft_varget)(i32 code, i32 unit, i32 index);
};

}  // namespace frame
