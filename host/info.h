// `gaugehost info`: what a module offers (its gauges, or one gauge's
// elements and mouse areas) and the catalogue of module variables, as a
// readable table or as JSON.
#pragma once

#include <iosfwd>

#include "host/loader.h"

namespace host {

void print_module(std::ostream& out, const LoadedModule& m, bool json);
void print_gauge(std::ostream& out, const GaugeModel& g, bool json);
void print_vars(std::ostream& out, bool json);

// JSON string literal of `s` (quotes included).
std::string json_string(std::string_view s);

}  // namespace host
