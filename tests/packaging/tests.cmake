# The installed tree and the Debian package.
target_sources(window_tests PRIVATE ${CMAKE_SOURCE_DIR}/app/data_folder.cpp)

# `cmake --install` into a temporary prefix: every file in place, the menu entry and the
# AppStream file valid, and both programs keeping their files in the per-user data folder.
add_test(NAME installed_tree
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/check_install.sh ${CMAKE_BINARY_DIR}
          ${CMAKE_SOURCE_DIR}/tests/support/screens.json)
# The Debian package: control fields and file list.
add_test(NAME debian_package
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/check_package.sh ${CMAKE_BINARY_DIR} ${PROJECT_VERSION})
# Exit 77 means a tool is missing. Stripping and compressing the package is heavy; run alone,
# it cannot disturb the timing of the sound tests.
set_tests_properties(installed_tree debian_package PROPERTIES LABELS package
  SKIP_RETURN_CODE 77 TIMEOUT 240 RUN_SERIAL TRUE)
