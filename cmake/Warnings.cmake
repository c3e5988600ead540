# Compile options shared by every target of the project (not by third-party code).
add_library(pl3_options INTERFACE)
target_compile_options(pl3_options INTERFACE
  -Wall -Wextra -Wno-unused-parameter
  $<$<BOOL:${PL3_WERROR}>:-Werror>)
target_include_directories(pl3_options INTERFACE ${PROJECT_SOURCE_DIR})

if(PL3_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(PL3_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
