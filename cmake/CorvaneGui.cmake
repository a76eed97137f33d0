# The GUI is four static libraries that depend in one direction only:
# controls <- remote <- dialogs <- app. The settings editors open the remote dialogs
# and hand them what they need from above (the proxy editor), never the reverse.
function(corvane_gui_library name dir layers)
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${dir}/*.cpp)
  list(FILTER sources EXCLUDE REGEX "/app/main\\.cpp$")
  add_library(${name} STATIC ${sources})
  target_link_libraries(${name} PUBLIC ${ARGN})
  corvane_layer_includes(${name} ${layers})
  corvane_warnings(${name})
endfunction()

corvane_gui_library(corvane_controls controls "model;platform;resources;controls" corvane_model corvane_platform corvane_resources ${wxWidgets_LIBRARIES})
# wx reaches only the GUI targets; the core and corvane-dix build without it.
target_include_directories(corvane_controls SYSTEM PUBLIC ${wxWidgets_INCLUDE_DIRS})
target_compile_definitions(corvane_controls PUBLIC ${wxWidgets_DEFINITIONS})
target_compile_options(corvane_controls PUBLIC ${wxWidgets_CXX_FLAGS})
target_precompile_headers(corvane_controls PRIVATE <wx/wx.h>)
corvane_gui_library(corvane_remote remote "model;platform;resources;controls;remote" corvane_controls corvane_platform)
corvane_gui_library(corvane_dialogs dialogs "model;platform;resources;controls;remote;dialogs" corvane_remote)
# The app shell keeps the name the tests and benchmarks link against.
corvane_gui_library(corvane_gui app "model;platform;resources;controls;remote;dialogs;app" corvane_dialogs)
target_compile_definitions(corvane_gui PRIVATE CORVANE_VERSION="${PROJECT_VERSION}")
foreach(lib corvane_remote corvane_dialogs corvane_gui)
  target_precompile_headers(${lib} REUSE_FROM corvane_controls)
endforeach()

add_executable(corvane ${PROJECT_SOURCE_DIR}/app/main.cpp)
target_link_libraries(corvane PRIVATE corvane_gui)
corvane_warnings(corvane)
install(TARGETS corvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

include(${PROJECT_SOURCE_DIR}/cmake/CorvaneTranslations.cmake)
add_dependencies(corvane corvane_translations)
