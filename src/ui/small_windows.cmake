# The small windows: start-up (About_Form), preferences (Setting), about box
# (AboutForm) and the Applications panels (AppForm), plus the build step that
# draws the panel pictures beside the program. Included by this folder's
# CMakeLists.txt before it creates vst_ui.
set(VST_UI_SMALL_SOURCES
  about_form_window.cpp about_form_window.h
  setting_window.cpp setting_window.h
  about_box_window.cpp about_box_window.h
  app_form_window.cpp app_form_window.h
  small_window_pictures.cpp small_window_pictures.h
)

# The window models these windows draw. vst_ui exists only once the including
# file has created it, so the link is made at the end of this folder.
cmake_language(DEFER CALL target_link_libraries vst_ui PUBLIC vst_prefs vst_docs)

# Panel pictures: drawn at build time on the offscreen platform.
add_executable(make_panel_pictures tools/make_panel_pictures.cpp)
target_compile_options(make_panel_pictures PRIVATE ${VST_WARNINGS})
target_link_libraries(make_panel_pictures PRIVATE Qt6::Gui)
set_target_properties(make_panel_pictures PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

set(VST_PANEL_PICTURES CHANNEL.BMP FILLET.BMP COVER.BMP YJ12.BMP WRAP.BMP)
list(TRANSFORM VST_PANEL_PICTURES PREPEND ${VST_OUTPUT_DIR}/ OUTPUT_VARIABLE VST_PANEL_PICTURE_FILES)
add_custom_command(
  OUTPUT ${VST_PANEL_PICTURE_FILES}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:make_panel_pictures> ${VST_OUTPUT_DIR}
  DEPENDS make_panel_pictures
  COMMENT "Drawing the Applications panel pictures"
  VERBATIM)
add_custom_target(panel_pictures ALL DEPENDS ${VST_PANEL_PICTURE_FILES})
include(GNUInstallDirs)
install(FILES ${VST_PANEL_PICTURE_FILES} DESTINATION ${CMAKE_INSTALL_BINDIR})
