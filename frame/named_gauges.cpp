#include "frame/named_gauges.h"

#include "frame/builder.h"
#include "frame/exchanger.h"

namespace frame {
namespace {
CockpitFlags g_flags;
CockpitNames g_names;
}  // namespace

CockpitFlags& cockpit_flags() { return g_flags; }
CockpitNames& cockpit_names() { return g_names; }

void klappfenster_click(CockpitFlags& f, u32 flags) {
  if (flags & kMouseLeft)
    f.klappfenster = 1;
  else if (flags & kMouseRight)
    f.klappfenster = 0;
}

void send_klappfenster(CockpitFlags& f, NamedVar& agree) {
  if (f.klappfenster == f.klappfenster_sent) return;
  if (agree.set(f.klappfenster)) f.klappfenster_sent = f.klappfenster;
}

namespace {

// Services the builder delivers; it drops any other code, so "every call"
// of the shared callback below means every one of these.
constexpr Service kAllServices[] = {kPreInstall, kPreInitialize, kPreUpdate, kPreKill,
                                    kConnectWindow};

// STABMANUAL's and CG's callback: registers KlappfensterAgree and looks up
// its id on every call, and sends the window flag at service 6.
void define_klappfenster_sender(GaugeDef& g) {
  for (Service s : kAllServices) {
    g.on(s, [s] {
      g_names.klappfenster_agree.ensure();
      if (s == kPreUpdate) send_klappfenster(g_flags, g_names.klappfenster_agree);
    });
  }
}

}  // namespace

void define_named_gauges(Module& m) {
  m.gauge("FortOpen").area("klappfenster", AreaOptions{.flags = kMouseLeft | kMouseRight},
                           [](u32 flags) { klappfenster_click(g_flags, flags); });

  define_klappfenster_sender(m.gauge("STABMANUAL"));
  define_klappfenster_sender(m.gauge("CG"));

  GaugeDef& hydro = m.gauge("HydroInOut");
  hydro.on(kPreInstall, [] { exchanger_open(); });
  hydro.on(kPreKill, [] { exchanger_close(); });

  m.gauge("AZS_SAU_STU").on(kConnectWindow, [] { g_names.azs_sau_stu.ensure(); });
}

}  // namespace frame
