# SPDX-License-Identifier: GPL-3.0-or-later
# Every target of ours gets the same warning set; CI turns them into errors.
function(tarvex_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
    # Designated initializers leave the rest at their defaults on purpose.
    -Wno-missing-field-initializers)
  if(TARVEX_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
    # GCC 12 at -O3 warns falsely about overlapping copies inside std::string's
    # operator+ (GCC bug 105329); it stays a warning there.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
      target_compile_options(${target} PRIVATE -Wno-error=restrict)
    endif()
  endif()
endfunction()
