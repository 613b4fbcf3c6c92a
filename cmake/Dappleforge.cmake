# Shared build rules for every Dappleforge target.
#
# Layers. layers.txt lists the library folders lowest first with the folders each
# builds on; df_add_layers() adds them in that order and df_layer() makes a folder's
# library with those dependencies, so the order is written once.
#
# Class registration. Each library registers its classes in the class registry from
# static initialisers. A static archive member that nothing references is dropped by
# the linker, and its initialiser with it, so every library keeps its registration
# group (register_classes.cpp) in a companion OBJECT library named <lib>_classes.
# df_link() links a program against libraries and adds the registration objects of
# each of them and of everything they build on, so that a program can create every
# class it could read from a file.

option(DF_WARNINGS_AS_ERRORS "Treat compiler warnings as errors (the presets and CI turn it on)" OFF)

add_library(df_options INTERFACE)
target_compile_options(df_options INTERFACE
  -Wall -Wextra
  $<$<BOOL:${DF_WARNINGS_AS_ERRORS}>:-Werror>
  # A fused multiply-add would change rounded f32 results that must be exact.
  -ffp-contract=off)
target_include_directories(df_options INTERFACE ${PROJECT_SOURCE_DIR})

# Reads layers.txt into DF_LAYER_FOLDERS and, per folder, DF_LAYER_LIBRARY_<folder>
# and DF_LAYER_DEPS_<folder> (the libraries of the folders it builds on).
function(_df_read_layers file)
  file(STRINGS ${file} lines REGEX "^[^#]")
  set(folders "")
  foreach(line ${lines})
    string(REGEX REPLACE "[ \t]+" ";" fields "${line}")
    list(POP_FRONT fields folder library)
    set(deps "")
    foreach(below ${fields})
      if(NOT below IN_LIST folders)
        message(FATAL_ERROR "layers.txt: ${folder} builds on ${below}, which is not listed above it")
      endif()
      list(APPEND deps ${DF_LAYER_LIBRARY_${below}})
    endforeach()
    list(APPEND folders ${folder})
    set(DF_LAYER_LIBRARY_${folder} ${library} PARENT_SCOPE)
    set(DF_LAYER_LIBRARY_${folder} ${library})
    set(DF_LAYER_DEPS_${folder} ${deps} PARENT_SCOPE)
  endforeach()
  set(DF_LAYER_FOLDERS ${folders} PARENT_SCOPE)
endfunction()

# Adds every layer folder, lowest first.
macro(df_add_layers)
  _df_read_layers(${PROJECT_SOURCE_DIR}/layers.txt)
  foreach(folder ${DF_LAYER_FOLDERS})
    add_subdirectory(${folder})
  endforeach()
endmacro()

# df_library(<name> SOURCES ... [CLASSES ...] [DEPS ...]): a static library outside
# the layers (a tool's reader, say).
function(df_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;CLASSES;DEPS" ${ARGN})
  foreach(dep ${ARG_DEPS})
    if(NOT TARGET ${dep})
      message(FATAL_ERROR "${name} builds on ${dep}, which is not defined yet")
    endif()
  endforeach()
  add_library(${name} STATIC ${ARG_SOURCES})
  target_link_libraries(${name} PUBLIC df_options ${ARG_DEPS})
  set_property(TARGET ${name} PROPERTY DF_DEPS ${ARG_DEPS})
  if(ARG_CLASSES)
    add_library(${name}_classes OBJECT ${ARG_CLASSES})
    target_link_libraries(${name}_classes PUBLIC ${name})
  endif()
endfunction()

# df_layer([EXCLUDE <file>...]): the current layer folder's library. Its sources are
# every .cpp of the folder; register_classes.cpp, when present, is its registration
# group; files named after EXCLUDE (a program's main.cpp, say) stay out.
function(df_layer)
  cmake_parse_arguments(ARG "" "" "EXCLUDE" ${ARGN})
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(name ${DF_LAYER_LIBRARY_${folder}})
  if(NOT name)
    message(FATAL_ERROR "${folder} is not listed in layers.txt")
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  set(classes "")
  foreach(file register_classes.cpp ${ARG_EXCLUDE})
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${file})
  endforeach()
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/register_classes.cpp)
    set(classes CLASSES register_classes.cpp)
  endif()
  df_library(${name} SOURCES ${sources} ${classes} DEPS ${DF_LAYER_DEPS_${folder}})
  # Programs that exercise everything (benchmarks, fuzz targets) link this list.
  set_property(GLOBAL APPEND PROPERTY DF_ALL_LIBRARIES ${name})
endfunction()

function(_df_closure out)
  set(result "")
  set(pending ${ARGN})
  while(pending)
    list(POP_FRONT pending lib)
    if(NOT TARGET ${lib})
      message(FATAL_ERROR "df_link: ${lib} is not a library")
    endif()
    if(NOT lib IN_LIST result)
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
