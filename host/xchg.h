// The data exchanger as an outside program sees it: `gaugehost xchg`, and the
// scenario's `slot N`. It goes only by the block's and guards' names and the
// slot protocol (frame/exchanger_protocol.h), never through the module, so
// it works against any process that has the block open.
//
//   dump [--watch] [--count N]   the 118 slots, "SLOT VALUE" one per line
//   read N                       slot N's value
//   write N VALUE                store VALUE in slot N (0..115) through its guard
//   hold N SECONDS               take guard N, keep it, release it
//   reset                        release every guard that is held
//   remove                       delete the block and the guards
//
// Names carry the suffix in GAUGEHOST_NAME_SUFFIX (none when it is unset).
// Exit status: 0 done, 1 a guard was busy or the block does not exist, 2 a
// usage or system error.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace host::xchg {

// The environment variable that gives the suffix of the names.
inline constexpr const char* kSuffixVariable = "GAUGEHOST_NAME_SUFFIX";

// Slot n (0..117) of the block under `suffix`, copied without its guard (a
// snapshot, for tests); nullopt when the block does not exist or n is no
// slot. Creates nothing.
std::optional<double> peek_slot(const std::string& suffix, int n);

// Deletes the block and the 116 guards under `suffix`; how many existed.
int remove_objects(const std::string& suffix);

// `gaugehost xchg ARGS...`; returns the exit status.
int command(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace host::xchg
