# The demo's data folder: every file dappleforge reads, assembled into
# <build>/data/ (fonts.pak, guigfx.pak, widgets/*.wgt, light.pcx, light_a.pcx).
# The tools that write them are built here too when the tools are not (the bench
# preset), since the frame benchmark runs the real shell on the same data; paktext
# builds the widget files from their texts.
foreach(tool fontbake paktext skinbuild lightbake)
  set(target_of_fontbake fonts_pak)
  set(target_of_paktext paktext)
  set(target_of_skinbuild skin_files)
  set(target_of_lightbake light_files)
  if(NOT TARGET ${target_of_${tool}})
    add_subdirectory(${PROJECT_SOURCE_DIR}/tools/${tool} ${CMAKE_BINARY_DIR}/tools/${tool})
  endif()
endforeach()

set(DF_DEMO_DATA ${CMAKE_BINARY_DIR}/data CACHE INTERNAL "The demo's data folder")
set(demo_widgets form vseparator hseparator frame button option checkbox hscroll vscroll
                 textbox scrollspace)
set(demo_sources ${CMAKE_BINARY_DIR}/fonts.pak ${CMAKE_BINARY_DIR}/guigfx.pak
                 ${CMAKE_BINARY_DIR}/light.pcx ${CMAKE_BINARY_DIR}/light_a.pcx)
set(demo_outputs ${DF_DEMO_DATA}/fonts.pak ${DF_DEMO_DATA}/guigfx.pak
                 ${DF_DEMO_DATA}/light.pcx ${DF_DEMO_DATA}/light_a.pcx)
foreach(name ${demo_widgets})
  list(APPEND demo_sources ${CMAKE_BINARY_DIR}/widgets/${name}.wgt)
  list(APPEND demo_outputs ${DF_DEMO_DATA}/widgets/${name}.wgt)
endforeach()
set(copy_commands "")
foreach(source output IN ZIP_LISTS demo_sources demo_outputs)
  list(APPEND copy_commands COMMAND ${CMAKE_COMMAND} -E copy_if_different ${source} ${output})
endforeach()
add_custom_command(OUTPUT ${demo_outputs}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${DF_DEMO_DATA}/widgets
  ${copy_commands}
  DEPENDS ${demo_sources} fonts_pak skin_files light_files
  COMMENT "Assembling the demo's data folder")
add_custom_target(demo_data ALL DEPENDS ${demo_outputs})
# The programs that read the data folder.
foreach(program dappleforge widgetgallery)
  if(TARGET ${program})
    add_dependencies(${program} demo_data)
  endif()
endforeach()
