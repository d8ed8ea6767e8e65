# FFmpeg's HEVC decoder (libavcodec) as a libheif decoder plugin, inside the decoder library;
# its pictures go to RGB through libyuv, which the decoder links already.
find_package(PkgConfig REQUIRED)
pkg_check_modules(VESKO_FFMPEG_LIBS REQUIRED IMPORTED_TARGET libavcodec libavutil)
target_sources(vesko_decoder PRIVATE ${CMAKE_CURRENT_LIST_DIR}/HevcFfmpegPlugin.cpp
               ${CMAKE_CURRENT_LIST_DIR}/HevcRgb.cpp)
target_link_libraries(vesko_decoder PRIVATE PkgConfig::VESKO_FFMPEG_LIBS)
