if(VELMOR_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
if(VELMOR_FUZZ)
  # Instrument everything for coverage; only the fuzz executables get libFuzzer's main.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
if(VELMOR_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()
