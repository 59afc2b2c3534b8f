#include "host/info.h"

#include <ostream>

#include "frame/text.h"
#include "host/expect.h"
#include "host/vars.h"

namespace host {
namespace {

std::string or_dash(const std::string& s) { return s.empty() ? "-" : s; }

std::string number(double v) { return format_value(Value::of(v)); }

}  // namespace

std::string json_string(std::string_view s) {
  std::string out = "\"";
  for (const char ch : s) {
    const auto c = static_cast<unsigned char>(ch);
    switch (ch) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20)
          out += frame::format_string("\\u%04x", c);
        else
          out.push_back(ch);
    }
  }
  out.push_back('"');
  return out;
}

void print_module(std::ostream& out, const LoadedModule& m, bool json) {
  if (json) {
    out << "{\"module\": " << json_string(m.name) << ", \"path\": " << json_string(m.path)
        << ", \"gauges\": [";
    for (std::size_t i = 0; i < m.gauges.size(); ++i) {
      const GaugeModel& g = *m.gauges[i];
      out << (i ? ",\n  " : "\n  ") << "{\"index\": " << g.index
          << ", \"name\": " << json_string(g.name) << ", \"size_mm\": " << g.header->size_x_mm
          << ", \"elements\": " << g.elements.size() << ", \"areas\": " << g.areas.size() << "}";
    }
    out << "\n]}\n";
    return;
  }
  out << "module " << m.name << " (" << m.path << "): " << m.gauges.size() << " gauges\n";
  out << frame::format_string("%5s  %-24s %7s %8s %5s\n", "index", "name", "size_mm", "elements",
                              "areas");
  for (const auto& gp : m.gauges) {
    const GaugeModel& g = *gp;
    out << frame::format_string("%5zu  %-24s %7u %8zu %5zu\n", g.index, g.name.c_str(),
                                g.header->size_x_mm, g.elements.size(), g.areas.size());
  }
}

void print_gauge(std::ostream& out, const GaugeModel& g, bool json) {
  if (json) {
    out << "{\"module\": " << json_string(g.module) << ", \"gauge\": " << json_string(g.name)
        << ", \"index\": " << g.index << ", \"size_mm\": " << g.header->size_x_mm
        << ",\n \"elements\": [";
    for (std::size_t i = 0; i < g.elements.size(); ++i) {
      const ElementInfo& e = g.elements[i];
      out << (i ? ",\n  " : "\n  ") << "{\"index\": " << i
          << ", \"kind\": " << json_string(kind_name(e.kind))
          << ", \"label\": " << json_string(e.label) << ", \"meaning\": " << json_string(e.meaning)
          << ", \"hidden\": " << (element_hidden(e) ? "true" : "false") << "}";
    }
    out << "\n ],\n \"areas\": [";
    for (std::size_t i = 0; i < g.areas.size(); ++i) {
      const AreaInfo& a = g.areas[i];
      out << (i ? ",\n  " : "\n  ") << "{\"index\": " << i
          << ", \"label\": " << json_string(a.label) << ", \"cursor\": " << a.record->cursor
          << ", \"flags\": " << a.record->flags << ", \"tooltip\": " << json_string(a.tooltip)
          << "}";
    }
    out << "\n ]}\n";
    return;
  }
  out << "gauge " << g.qualified() << "  index " << g.index << "  size " << g.header->size_x_mm
      << " mm\n";
  out << "elements (" << g.elements.size() << ")\n";
  out << frame::format_string("%5s  %-7s %-28s %-28s %s\n", "index", "kind", "label", "meaning",
                              "hidden");
  for (std::size_t i = 0; i < g.elements.size(); ++i) {
    const ElementInfo& e = g.elements[i];
    // Indent by depth so the tree shows.
    const std::string label =
        std::string(static_cast<std::size_t>(e.depth) * 2, ' ') + or_dash(e.label);
    out << frame::format_string("%5zu  %-7s %-28s %-28s %d\n", i, kind_name(e.kind),
                                label.c_str(), or_dash(e.meaning).c_str(),
                                element_hidden(e) ? 1 : 0);
  }
  out << "areas (" << g.areas.size() << ")\n";
  out << frame::format_string("%5s  %-28s %6s %-10s %s\n", "index", "label", "cursor", "flags",
                              "tooltip");
  for (std::size_t i = 0; i < g.areas.size(); ++i) {
    const AreaInfo& a = g.areas[i];
    out << frame::format_string("%5zu  %-28s %6d 0x%08X %s\n", i, or_dash(a.label).c_str(),
                                a.record->cursor, a.record->flags, or_dash(a.tooltip).c_str());
  }
}

void print_vars(std::ostream& out, bool json) {
  if (json) {
    out << "{\"vars\": [";
    bool first = true;
    for (const VarInfo& v : var_catalogue()) {
      out << (first ? "\n  " : ",\n  ") << "{\"id\": " << v.id
          << ", \"name\": " << json_string(v.name) << ", \"unit\": " << json_string(v.unit)
          << ", \"default\": " << number(v.initial) << ", \"source\": " << json_string(v.source)
          << ", \"notes\": " << json_string(v.notes) << "}";
      first = false;
    }
    out << "\n]}\n";
    return;
  }
  out << frame::format_string("%5s %-7s %-20s %-10s %8s %-7s  %s\n", "id", "hex", "name", "unit",
                              "default", "source", "notes");
  for (const VarInfo& v : var_catalogue()) {
    out << frame::format_string("%5u 0x%-5X %-20s %-10s %8s %-7s  %s\n", v.id, v.id, v.name,
                                v.unit, number(v.initial).c_str(), v.source, v.notes);
  }
}

}  // namespace host
