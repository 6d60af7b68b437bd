# The protections Debian builds its packages with: what `dpkg-buildflags` gives
# with DEB_BUILD_MAINT_OPTIONS=hardening=+all (fortify, the strong stack
# protector, -Wformat -Werror=format-security, relro and bind-now), together with
# stack clash and control-flow protection, which bookworm's dpkg leaves out on
# amd64 and later ones add, and a position-independent executable.
#
# For every target, in Release and RelWithDebInfo builds only: _FORTIFY_SOURCE
# needs the optimiser, and the sanitizer and fuzz builds bring their own
# instrumentation, which these flags would only blur.
if(TAVOLEN_SANITIZE OR TAVOLEN_FUZZ)
  return()
endif()

set(_hardened $<CONFIG:Release,RelWithDebInfo>)
add_compile_options(
  # A compiler that already defines _FORTIFY_SOURCE (as Ubuntu's does) would
  # warn about the redefinition, and -Werror turns that into an error.
  "$<${_hardened}:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>"
  "$<${_hardened}:-Wdate-time;-Wformat;-Werror=format-security>"
  "$<${_hardened}:-fstack-protector-strong;-fcf-protection>")
# MinGW-w64 GCC 12 crashes (seh_emit_stackalloc) on stack clash protection.
if(NOT MINGW)
  add_compile_options("$<${_hardened}:-fstack-clash-protection>")
endif()
# relro and bind-now are ELF's; a Windows executable has neither.
if(NOT WIN32)
  add_link_options("$<${_hardened}:LINKER:-z,relro;LINKER:-z,now>")
endif()
# MinGW's stack protector lives in libssp, which the driver links only when
# told so at link time too.
if(MINGW)
  add_link_options("$<${_hardened}:-fstack-protector-strong>")
endif()
unset(_hardened)

# -fPIE and -pie: Debian's compilers make position-independent executables by
# default, other compilers are asked for them.
include(CheckPIESupported)
check_pie_supported()
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
