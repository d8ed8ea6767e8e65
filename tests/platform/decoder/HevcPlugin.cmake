# The FFmpeg HEVC plugin against libde265, on photo-like and tiled files from data/.
add_executable(vesko_hevc_plugin_tests ${CMAKE_CURRENT_LIST_DIR}/HevcPluginTest.cpp)
target_link_libraries(vesko_hevc_plugin_tests PRIVATE vesko_decoder vesko_test_images
                      GTest::gtest_main)
gtest_discover_tests(vesko_hevc_plugin_tests DISCOVERY_TIMEOUT 60 PROPERTIES LABELS decoder)
