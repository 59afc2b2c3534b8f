// Bounded text formatting: the one way the modules turn values into display
// and file text. Nothing here writes past the buffer it is given.
#pragma once

#include <cstddef>
#include <string>

#if defined(__GNUC__)
#define GAU_PRINTF(fmt_index, first_arg) __attribute__((format(printf, fmt_index, first_arg)))
#else
#define GAU_PRINTF(fmt_index, first_arg)
#endif

namespace frame {

// printf into `buf`, which holds `capacity` characters plus the terminator;
// the text is cut at `capacity`. Returns the characters written (without the
// terminator). A null `buf` writes nothing and returns 0.
std::size_t format_text(char* buf, std::size_t capacity, const char* fmt, ...) GAU_PRINTF(3, 4);

// Formats one value with a display format holding exactly one numeric
// conversion amid literal text ("%3d", "%4.1f", "FL%03d", "%%" is literal).
// Integer conversions (d i u o x X) take the value through to_int; floating
// ones (f F e E g G, optionally with 'l') take it as is, a NaN or infinity
// shown as 0. Flags "-+ 0#", width and precision (each up to 3 digits) are
// allowed. Any other format (no conversion, two, '*', %n, %s, %c, length
// modifiers) formats nothing: `buf` gets "" and 0 is returned. Bounds as
// format_text.
std::size_t format_value(char* buf, std::size_t capacity, const char* fmt, double v);

// True when `fmt` is a format that format_value accepts.
bool is_value_format(const char* fmt);

// printf into a string, for host-side messages.
std::string format_string(const char* fmt, ...) GAU_PRINTF(1, 2);

}  // namespace frame
