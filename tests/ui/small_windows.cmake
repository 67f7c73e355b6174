# GUI tests of the small windows: start-up, preferences, about box and the
# Applications panels.
vst_test(ui_small_windows_tests GUI SOURCES gui_test_main.cpp small_windows_test.cpp LIBS vst_ui Qt6::Test)
add_dependencies(ui_small_windows_tests panel_pictures)
