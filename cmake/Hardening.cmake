# Debian's hardening for every program built here, the flags that
# dpkg-buildflags gives with DEB_BUILD_MAINT_OPTIONS=hardening=+all (with the
# stack-clash and control-flow protection that dpkg adds after Debian 12):
# both programs run as root on print servers and parse files from the
# collected system. Sanitizer and fuzzer builds keep their own instrumentation, which
# these flags would only get in the way of.
include(CheckCXXCompilerFlag)
include(CheckLinkerFlag)
include(CheckPIESupported)

# Whether the programs carry the hardening a package needs, for the tests
# that check the package: not in an instrumented or unoptimised build.
set(TELVARIN_PACKAGE_HARDENED OFF)
if(TELVARIN_SANITIZE OR TELVARIN_BUILD_FUZZERS)
  message(STATUS "Hardening off: the sanitizer or fuzzer build keeps its own flags")
  return()
endif()
set(TELVARIN_PACKAGE_HARDENED $<CONFIG:Release,RelWithDebInfo,MinSizeRel>)

# Position-independent executables, so that address-space randomisation
# covers the programs' own code too.
check_pie_supported(LANGUAGES CXX)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

# The fortified functions check sizes only where the optimiser sees them; at
# -O0 glibc warns and checks nothing. A flag the environment already set
# (CPPFLAGS, as a distribution's build passes them) is left as it is.
if(NOT CMAKE_CXX_FLAGS MATCHES "_FORTIFY_SOURCE")
  add_compile_options($<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-D_FORTIFY_SOURCE=2>)
endif()
add_compile_options(-Wformat -Werror=format-security)

foreach(flag -fstack-protector-strong -fstack-clash-protection -fcf-protection)
  string(MAKE_C_IDENTIFIER "TELVARIN_HAS${flag}" supported)
  check_cxx_compiler_flag(${flag} ${supported})
  if(${supported})
    add_compile_options(${flag})
  endif()
endforeach()

# Read-only relocations, bound at start-up: no writable GOT left to aim at.
check_linker_flag(CXX "LINKER:-z,relro,-z,now" TELVARIN_HAS_RELRO_NOW)
if(TELVARIN_HAS_RELRO_NOW)
  add_link_options(LINKER:-z,relro,-z,now)
endif()
