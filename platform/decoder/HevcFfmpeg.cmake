# FFmpeg's HEVC decoder (libavcodec) as a libheif decoder plugin, in a module of its own that
# the decoder loads at its first HEIC (HevcModuleLoader.cpp): libavcodec's sixty-odd libraries
# stay out of the start.
find_package(PkgConfig REQUIRED)
pkg_check_modules(VESKO_FFMPEG_LIBS REQUIRED IMPORTED_TARGET libavcodec libavutil libswscale)
pkg_check_modules(VESKO_HEIF_LIB REQUIRED IMPORTED_TARGET libheif)
add_library(vesko_hevc_ffmpeg MODULE ${CMAKE_CURRENT_LIST_DIR}/HevcFfmpegPlugin.cpp
            ${CMAKE_CURRENT_LIST_DIR}/HevcPicture.cpp)
target_include_directories(vesko_hevc_ffmpeg PRIVATE
                           $<TARGET_PROPERTY:vesko_decoder,INTERFACE_INCLUDE_DIRECTORIES>)
target_link_libraries(vesko_hevc_ffmpeg PRIVATE PkgConfig::VESKO_FFMPEG_LIBS
                      PkgConfig::VESKO_HEIF_LIB)
set_target_properties(vesko_hevc_ffmpeg PROPERTIES CXX_VISIBILITY_PRESET hidden)

target_sources(vesko_decoder PRIVATE ${CMAKE_CURRENT_LIST_DIR}/HevcModuleLoader.cpp)
target_compile_definitions(vesko_decoder PRIVATE
    VESKO_HEVC_MODULE_INSTALLED="lib/vesko/$<TARGET_FILE_NAME:vesko_hevc_ffmpeg>"
    VESKO_HEVC_MODULE_BUILT="$<TARGET_FILE:vesko_hevc_ffmpeg>")
target_link_libraries(vesko_decoder PRIVATE ${CMAKE_DL_LIBS})
add_dependencies(vesko_decoder vesko_hevc_ffmpeg)
