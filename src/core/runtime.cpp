// The C++ runtime's default terminate handler prints a demangled type name, which links the
// whole demangler (about 50 KB) into the plug-in. Nothing may reach std::terminate anyway:
// every export catches all exceptions. This replacement keeps the shipped .nbp small.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
