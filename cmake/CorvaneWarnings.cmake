# Warnings are errors for our own targets; third-party headers come in as SYSTEM.
function(corvane_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror -Wno-deprecated-copy)
endfunction()
