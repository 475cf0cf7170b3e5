# Warnings for the project's own targets (not for third-party code).
function(velmor_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                           -Wno-sign-conversion)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # GCC 12 reports std::string concatenation inside libstdc++ as overlapping copies.
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
  if(VELMOR_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
