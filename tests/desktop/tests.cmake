# The guides and the Help offer on the real window; the installed tree; the package.
find_package(GTest REQUIRED)
include(GoogleTest)
add_executable(desktop_tests ${CMAKE_CURRENT_LIST_DIR}/guides_test.cpp)
target_link_libraries(desktop_tests PRIVATE zerkavi_window GTest::gtest)
target_compile_options(desktop_tests PRIVATE ${ZERKAVI_WARNINGS})
target_compile_definitions(desktop_tests PRIVATE ZERKAVI_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
gtest_discover_tests(desktop_tests DISCOVERY_TIMEOUT 60
  PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")

# `cmake --install` into a temporary prefix: every file in place, the menu entry and the
# AppStream file valid, and both programs keeping their files in the per-user data folder.
add_test(NAME installed_tree
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/check_install.sh ${CMAKE_BINARY_DIR}
          ${CMAKE_SOURCE_DIR}/tests/window/screens.json)
# The Debian package: control fields and file list.
add_test(NAME debian_package
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/check_package.sh ${CMAKE_BINARY_DIR} ${PROJECT_VERSION})
set_tests_properties(installed_tree debian_package PROPERTIES LABELS package)
set_tests_properties(installed_tree debian_package PROPERTIES SKIP_RETURN_CODE 77)
set_tests_properties(installed_tree debian_package PROPERTIES TIMEOUT 240)
# Stripping and compressing the package is heavy; alone it cannot disturb the timing of the
# sound tests.
set_tests_properties(installed_tree debian_package PROPERTIES RUN_SERIAL TRUE)
