# The decoder's fast paths beside the libraries' defaults: `vesko_bench_fast_paths`.
add_executable(vesko_bench_fast_paths ${CMAKE_CURRENT_LIST_DIR}/FastPathsBench.cpp
               ${CMAKE_CURRENT_LIST_DIR}/HeicGrid.cpp ${CMAKE_CURRENT_LIST_DIR}/LibraryCalls.cpp
               ${CMAKE_CURRENT_LIST_DIR}/Measure.cpp)
target_link_libraries(vesko_bench_fast_paths PRIVATE vesko_decoder vesko_test_images)
target_compile_definitions(vesko_bench_fast_paths PRIVATE
    VESKO_PHOTOS_DIR="${PROJECT_SOURCE_DIR}/../shared/photos"
    VESKO_BENCH_GRID_DIR="${CMAKE_CURRENT_BINARY_DIR}/grid-copies"
    VESKO_BENCH_RAW_DIR="${CMAKE_CURRENT_BINARY_DIR}/raw-copies")
