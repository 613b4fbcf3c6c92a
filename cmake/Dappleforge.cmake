# Shared build rules for every Dappleforge target.
#
# Each library registers its classes in the class registry from static
# initialisers. A static archive member that nothing references is dropped by the
# linker, and its initialiser with it, so every library keeps its registration
# group in a companion OBJECT library named <lib>_classes. df_link() links a
# program against libraries and adds the registration objects of each of them and
# of everything they build on, so that a program can create every class it could
# read from a file.

add_library(df_options INTERFACE)
target_compile_options(df_options INTERFACE
  -Wall -Wextra -Werror
  # A fused multiply-add would change rounded f32 results that must be exact.
  -ffp-contract=off)
target_include_directories(df_options INTERFACE ${PROJECT_SOURCE_DIR})

# df_library(<name> SOURCES ... [CLASSES ...] [DEPS ...])
function(df_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;CLASSES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_link_libraries(${name} PUBLIC df_options ${ARG_DEPS})
  set_property(TARGET ${name} PROPERTY DF_DEPS ${ARG_DEPS})
  # Programs that exercise everything (benchmarks, fuzz targets) link this list.
  set_property(GLOBAL APPEND PROPERTY DF_ALL_LIBRARIES ${name})
  if(ARG_CLASSES)
    add_library(${name}_classes OBJECT ${ARG_CLASSES})
    target_link_libraries(${name}_classes PUBLIC ${name})
  endif()
endfunction()

function(_df_closure out)
  set(result "")
  set(pending ${ARGN})
  while(pending)
    list(POP_FRONT pending lib)
    if(TARGET ${lib} AND NOT lib IN_LIST result)
      list(APPEND result ${lib})
      get_property(deps TARGET ${lib} PROPERTY DF_DEPS)
      list(APPEND pending ${deps})
    endif()
  endwhile()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

# df_link(<target> <lib>...): links the libraries and all their class registrations.
function(df_link target)
  _df_closure(libs ${ARGN})
  target_link_libraries(${target} PRIVATE df_options ${ARGN})
  foreach(lib ${libs})
    if(TARGET ${lib}_classes)
      target_link_libraries(${target} PRIVATE ${lib}_classes)
    endif()
  endforeach()
endfunction()
