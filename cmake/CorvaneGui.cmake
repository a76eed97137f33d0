# The GUI is one static library: the app shell, the settings editors, the remote
# dialogs and the controls call one another (a connection dialog opens the proxy
# editor, the connections editor opens the connection dialog), so they link as one.
file(GLOB CORVANE_GUI_SOURCES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/app/*.cpp
  ${PROJECT_SOURCE_DIR}/dialogs/*.cpp
  ${PROJECT_SOURCE_DIR}/remote/*.cpp
  ${PROJECT_SOURCE_DIR}/controls/*.cpp)
list(FILTER CORVANE_GUI_SOURCES EXCLUDE REGEX "/app/main\\.cpp$")
add_library(corvane_gui STATIC ${CORVANE_GUI_SOURCES})
target_include_directories(corvane_gui PUBLIC ${PROJECT_SOURCE_DIR})
target_include_directories(corvane_gui SYSTEM PUBLIC ${wxWidgets_INCLUDE_DIRS})
target_compile_definitions(corvane_gui PUBLIC ${wxWidgets_DEFINITIONS})
target_compile_options(corvane_gui PUBLIC ${wxWidgets_CXX_FLAGS})
target_link_libraries(corvane_gui PUBLIC corvane_platform corvane_model corvane_resources ${wxWidgets_LIBRARIES})
target_precompile_headers(corvane_gui PRIVATE <wx/wx.h>)
corvane_warnings(corvane_gui)

add_executable(corvane ${PROJECT_SOURCE_DIR}/app/main.cpp)
target_link_libraries(corvane PRIVATE corvane_gui)
corvane_warnings(corvane)
install(TARGETS corvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
