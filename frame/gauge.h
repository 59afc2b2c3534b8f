// Binary records shared by a gauge module and its host: the module record,
// the import record, gauge headers, display elements, mouse areas and
// tooltips of the 2002 gauge format. Everything here is plain data with a
// fixed layout; the module and the host agree on it and on nothing else.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#define GAU_CALL __stdcall
#else
#define GAU_CALL
#endif

// Marks a module's two exported records, Linkage and ImportTable.
#if defined(_WIN32)
#define GAU_EXPORT __declspec(dllexport)
#else
#define GAU_EXPORT __attribute__((visibility("default")))
#endif

namespace frame {

using u32 = std::uint32_t;
using i32 = std::int32_t;

struct GaugeHeader;
struct ElementHeader;
struct ModuleVar;
struct PanelServices;

// Service codes of the gauge callback. Codes not listed are ignored.
enum Service : i32 {
  kPreInstall = 2,     // register names, open the data exchanger
  kPreInitialize = 4,  // bind names registered by others
  kPreUpdate = 6,      // once per frame: all simulation
  kPreKill = 12,       // unregister, close
  kConnectWindow = 14, // read configuration, seed random errors
};

// Element kinds (the code stored in every element header).
enum ElementKind : u32 {
  kStaticImage = 0,
  kNeedle = 1,
  kString = 2,
  kSlider = 3,
  kIcon = 4,
  kMovingImage = 5,
  kSprite = 6,
};

// Draw-flag bit that hides an element; gauge callbacks set and clear it.
inline constexpr u32 kHideBit = 0x40000000u;
// Draw-flag bit of the parts lit by the panel lighting.
inline constexpr u32 kLitBit = 0x4000u;
// Resource id of an element without a bitmap (strings).
inline constexpr u32 kNoBitmap = 0xFFFFFFFFu;

struct PixPoint {
  i32 x;
  i32 y;
};

struct FailureRecord {
  i32 key;     // failure key; 0 closes the list
  i32 action;
};

// Value callback of an element: takes the element, returns the reading.
using ElementCallback = double(GAU_CALL*)(ElementHeader* element);

// Fields every element starts with.
struct ElementHeader {
  u32 kind;
  u32 resource_id;
  PixPoint position;
  PixPoint pivot;              // needle pivot or texture centre
  GaugeHeader* gauge;          // the gauge the element belongs to
  ElementHeader** children;    // null-terminated, or null
  FailureRecord* failures;     // closed by key 0, or null
  u32 draw_flags;
};

struct StaticImageElement {
  ElementHeader hdr;
};

struct NonlinearityPoint {
  PixPoint point;  // where the needle tip points for `value`
  double value;
};

struct NeedleElement {
  ElementHeader hdr;
  ElementCallback value;
  const NonlinearityPoint* nonlinearity;  // or null
  u32 nonlinearity_count;
  u32 max_turn_deg;  // largest turn per update, 0 = unlimited
};

struct StringElement {
  ElementHeader hdr;
  ElementCallback value;  // also writes `text`
  char* text;             // buffer of `capacity` + 1 bytes
  u32 capacity;           // characters that fit (1..65)
  u32 fg_color;
  u32 bg_color;
  u32 highlight_color;
  const char* font;       // "Courier New"
  u32 font_weight;        // 700
  u32 charset;            // 1
  u32 text_format;        // 0x25: centred, single line
};

struct SliderElement {
  ElementHeader hdr;
  ElementCallback value_x;
  double scale_x;
  ElementCallback value_y;
  double scale_y;
};

struct IconElement {
  ElementHeader hdr;
  ElementCallback value;  // picture number, -1 shows nothing; null: always 0
  u32 picture_count;
};

struct MovingImageElement {
  ElementHeader hdr;
  ElementCallback value_x;
  double min_x, max_x;
  ElementCallback value_y;
  double min_y, max_y;
};

struct SpriteElement {
  ElementHeader hdr;
  ElementCallback value_x;
  double scale_x;
  ElementCallback value_y;
  double scale_y;
  ElementCallback value_rot;
  double scale_rot;
};

// Mouse areas -------------------------------------------------------------

enum AreaKind : u32 {
  kAreaEnd = 0,
  kAreaParent = 1,
  kAreaChild = 2,
  kAreaParentEnd = 3,
  kAreaTooltip = 4,
};

enum Cursor : i32 {
  kCursorNone = -1,
  kCursorUp = 1,    // increase arrow
  kCursorDown = 2,  // decrease arrow
  kCursorHand = 5,
};

inline constexpr u32 kMouseLeft = 0x20000000u;
inline constexpr u32 kMouseRight = 0x80000000u;
inline constexpr u32 kMouseRepeat = 0x00200000u;

using MouseHandler = i32(GAU_CALL*)(PixPoint* point, u32 flags);

struct TooltipArg;
using TooltipNumberFn = double(GAU_CALL*)(TooltipArg* arg);
using TooltipStringFn = const char*(GAU_CALL*)(TooltipArg* arg);

// Argument of a tooltip text: an empty variable slot, a scale, and a numeric
// or a string callback.
struct TooltipArg {
  u32 var_id;  // 0: no module variable
  double scale;
  TooltipNumberFn number;
  TooltipStringFn string;
};

// One record of a mouse-area array. Eleven 32-bit fields on a 32-bit target.
// A tooltip record carries its text in `handler`, its argument count in
// `event_id` and its argument array in `arg`.
struct MouseArea {
  u32 kind;
  i32 x, y, w, h;
  i32 cursor;
  u32 help_id;
  u32 flags;
  u32 event_id;
  const void* handler;  // MouseHandler, or the tooltip text
  void* arg;
};

// Gauge header ------------------------------------------------------------

using GaugeCallback = void(GAU_CALL*)(GaugeHeader* gauge, i32 service, u32 extra);
using ElementListFn = void(GAU_CALL*)(ElementHeader* first, u32 extra);

struct GaugeHeader {
  u32 version;  // 0x320
  const char* name;
  ElementHeader** elements;  // one root element, then null
  // The seven generic routines: query, install, initialize, update,
  // generate, draw, kill. The same functions for every gauge of a module.
  ElementListFn query;
  ElementListFn install;
  ElementListFn initialize;
  ElementListFn update;
  ElementListFn generate;
  ElementListFn draw;
  ElementListFn kill;
  u32 size_x_mm;
  MouseArea* mouse_areas;
  GaugeCallback callback;
  u32 reserved[4];  // zero
};

inline constexpr u32 kGaugeHeaderVersion = 0x320;

// Module and import records ------------------------------------------------

using ModuleFn = void(GAU_CALL*)();

struct ImportEntry {
  u32 id;
  void* ptr;
};

inline constexpr u32 kImportPanelServices = 0x0F;

struct ImportTableRecord {
  ImportEntry panels;  // id 0x0F; the host writes its PanelServices*
  ImportEntry end;     // (0, null)
};

// Capacity of a module's gauge table, including the closing null.
inline constexpr std::size_t kMaxGauges = 256;

struct LinkageRecord {
  u32 module_id;  // 0x13
  ModuleFn init;
  ModuleFn deinit;
  u32 flags;
  u32 status;
  u32 version;  // 0x800
  GaugeHeader* gauges[kMaxGauges];  // closed by null
};

inline constexpr u32 kModuleId = 0x13;
inline constexpr u32 kModuleVersion = 0x800;

// On the 32-bit target the records have the format's layout: every field
// 32 bits wide, in this order, with no padding.
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(LinkageRecord) == 24 + 4 * kMaxGauges);
static_assert(offsetof(LinkageRecord, module_id) == 0);
static_assert(offsetof(LinkageRecord, init) == 4);
static_assert(offsetof(LinkageRecord, deinit) == 8);
static_assert(offsetof(LinkageRecord, flags) == 12);
static_assert(offsetof(LinkageRecord, status) == 16);
static_assert(offsetof(LinkageRecord, version) == 20);
static_assert(offsetof(LinkageRecord, gauges) == 24);

static_assert(sizeof(ImportEntry) == 8);
static_assert(offsetof(ImportEntry, id) == 0);
static_assert(offsetof(ImportEntry, ptr) == 4);
static_assert(sizeof(ImportTableRecord) == 16);
static_assert(offsetof(ImportTableRecord, panels) == 0);
static_assert(offsetof(ImportTableRecord, end) == 8);

static_assert(sizeof(GaugeHeader) == 68);
static_assert(offsetof(GaugeHeader, version) == 0);
static_assert(offsetof(GaugeHeader, name) == 4);
static_assert(offsetof(GaugeHeader, elements) == 8);
static_assert(offsetof(GaugeHeader, query) == 12);
static_assert(offsetof(GaugeHeader, install) == 16);
static_assert(offsetof(GaugeHeader, initialize) == 20);
static_assert(offsetof(GaugeHeader, update) == 24);
static_assert(offsetof(GaugeHeader, generate) == 28);
static_assert(offsetof(GaugeHeader, draw) == 32);
static_assert(offsetof(GaugeHeader, kill) == 36);
static_assert(offsetof(GaugeHeader, size_x_mm) == 40);
static_assert(offsetof(GaugeHeader, mouse_areas) == 44);
static_assert(offsetof(GaugeHeader, callback) == 48);
static_assert(offsetof(GaugeHeader, reserved) == 52);

static_assert(sizeof(ElementHeader) == 40);
static_assert(offsetof(ElementHeader, kind) == 0);
static_assert(offsetof(ElementHeader, resource_id) == 4);
static_assert(offsetof(ElementHeader, position) == 8);
static_assert(offsetof(ElementHeader, pivot) == 16);
static_assert(offsetof(ElementHeader, gauge) == 24);
static_assert(offsetof(ElementHeader, children) == 28);
static_assert(offsetof(ElementHeader, failures) == 32);
static_assert(offsetof(ElementHeader, draw_flags) == 36);

static_assert(sizeof(MouseArea) == 44, "eleven 32-bit fields");
static_assert(offsetof(MouseArea, kind) == 0);
static_assert(offsetof(MouseArea, x) == 4);
static_assert(offsetof(MouseArea, y) == 8);
static_assert(offsetof(MouseArea, w) == 12);
static_assert(offsetof(MouseArea, h) == 16);
static_assert(offsetof(MouseArea, cursor) == 20);
static_assert(offsetof(MouseArea, help_id) == 24);
static_assert(offsetof(MouseArea, flags) == 28);
static_assert(offsetof(MouseArea, event_id) == 32);
static_assert(offsetof(MouseArea, handler) == 36);
static_assert(offsetof(MouseArea, arg) == 40);
#endif

}  // namespace frame
