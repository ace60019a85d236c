// The standard library's own errors, as this program throws them. libstdc++ raises them through
// the functions below; its versions build std::length_error and its kin, which bring the
// library's copy-on-write strings and error classes into the executable. Here each is a
// PlatformError with a sentence for the user, which the error barrier tells as it tells any
// other (ui/error_barrier_win.h), and the program goes on.
#include <bits/functexcept.h>

#include <cstdlib>

#include "core/platform_error.h"

namespace {

[[noreturn]] void OutOfMemory() { throw vorn::PlatformError("there is not enough memory for it."); }

[[noreturn]] void Internal() {
  throw vorn::PlatformError(
      "a step of the program went wrong (a position past the end of a text).");
}

}  // namespace

namespace std {

void __throw_bad_alloc() { OutOfMemory(); }
void __throw_bad_array_new_length() { OutOfMemory(); }
void __throw_length_error(const char*) { OutOfMemory(); }
void __throw_logic_error(const char*) { Internal(); }
void __throw_out_of_range(const char*) { Internal(); }
void __throw_out_of_range_fmt(const char*, ...) { Internal(); }
void __throw_invalid_argument(const char*) { Internal(); }
void __throw_bad_function_call() { Internal(); }

}  // namespace std

// The default handler for an uncaught exception prints its demangled type name, which pulls
// the whole demangler into the executable. No exception leaves a window procedure or the
// message loop's own steps, so the plain end is enough.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
