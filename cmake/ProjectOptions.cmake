# Warnings and sanitizers for the project's own targets. Warnings stop the build only where
# the project's scripts and CI ask for it: a packager's newer compiler may warn where ours
# does not.
add_library(project_warnings INTERFACE)
target_compile_options(project_warnings INTERFACE -Wall -Wextra)
if(MORVANE_WERROR)
  target_compile_options(project_warnings INTERFACE -Werror)
endif()

add_library(project_sanitizers INTERFACE)
if(MORVANE_SANITIZE)
  target_compile_options(project_sanitizers INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(project_sanitizers INTERFACE -fsanitize=address,undefined)
endif()

# Calls between a shared library's own exported functions go straight to them rather than
# through the PLT, and may be inlined: nothing replaces the project's functions at load time.
add_library(project_codegen INTERFACE)
target_compile_options(project_codegen INTERFACE
  $<$<CXX_COMPILER_ID:GNU,Clang>:-fno-semantic-interposition>)

# Every project target links this: warnings, sanitizers, hidden symbols by default.
function(morvane_target target)
  target_link_libraries(${target} PRIVATE project_warnings project_sanitizers project_codegen)
  set_target_properties(${target} PROPERTIES
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
endfunction()
