# FFmpeg's HEVC decoder (libavcodec) as a libheif decoder plugin, inside the decoder library.
find_package(PkgConfig REQUIRED)
pkg_check_modules(VESKO_FFMPEG_LIBS REQUIRED IMPORTED_TARGET libavcodec libavutil libswscale)
target_sources(vesko_decoder PRIVATE ${CMAKE_CURRENT_LIST_DIR}/HevcFfmpegPlugin.cpp
               ${CMAKE_CURRENT_LIST_DIR}/HevcPicture.cpp)
target_link_libraries(vesko_decoder PRIVATE PkgConfig::VESKO_FFMPEG_LIBS)
