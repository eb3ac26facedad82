# Warnings are set per target, so a target of ours never passes them on to a user of its
# headers. TIDEX_WERROR turns them into errors (scripts/test.sh does); it stays off by default
# so that a newer compiler's new warnings do not break a user's build.
option(TIDEX_WERROR "Treat compiler warnings as errors" OFF)

function(tidex_warnings)
  foreach(target IN LISTS ARGN)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wnon-virtual-dtor)
    if(TIDEX_WERROR)
      target_compile_options(${target} PRIVATE -Werror)
    endif()
  endforeach()
endfunction()
