# Warnings are errors for our own targets; third-party headers come in as SYSTEM.
function(corvane_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror -Wno-deprecated-copy)
endfunction()

# Debian's hardening (what `dpkg-buildflags` gives with hardening=+all) in every build,
# so the tests run the code the package ships. _FORTIFY_SOURCE needs the optimiser and
# hides overflows from the sanitizers' own checks, so Debug and sanitized builds go
# without it.
add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security)
if(NOT CORVANE_SANITIZE AND NOT ENABLE_FUZZING)
  add_compile_definitions($<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
endif()
add_link_options(LINKER:-z,relro LINKER:-z,now)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
include(CheckPIESupported)
check_pie_supported()
