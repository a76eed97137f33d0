# Each library sees only its own folder and the folders of the layers below it. Its include
# path is a folder of links to exactly those, so an include that points up a layer fails to
# compile, header-only or not, instead of slipping through a shared repository-root path.
function(corvane_layer_includes target)
  set(dir ${PROJECT_BINARY_DIR}/layers/${target})
  file(MAKE_DIRECTORY ${dir})
  foreach(folder ${ARGN})
    if(NOT EXISTS ${dir}/${folder})
      file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${dir}/${folder} SYMBOLIC)
    endif()
  endforeach()
  target_include_directories(${target} PUBLIC ${dir})
endfunction()

