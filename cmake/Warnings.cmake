# Every target of ours gets the same warning set; CI turns them into errors.
function(tarvex_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
    # Designated initializers leave the rest at their defaults on purpose.
    -Wno-missing-field-initializers)
  if(TARVEX_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
