# One place for the warning flags of every project target.
function(morvanex_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wpedantic)
  if(MORVANEX_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
