#include <gtest/gtest.h>

#include <string_view>

#include "platform/FileUrl.h"

namespace vesko {
namespace {

std::optional<std::filesystem::path> parse(std::string_view url) {
    return pathFromUrlBytes(
        std::span(reinterpret_cast<const std::uint8_t*>(url.data()), url.size()));
}

TEST(FileUrl, ReadsLocalFileUrlsAndThoseItWrites) {
    EXPECT_EQ(parse("file:///home/ana/My%20Photos/"), "/home/ana/My Photos");
    EXPECT_EQ(parse("file://localhost/tmp/x"), "/tmp/x");
    EXPECT_EQ(parse("file:/tmp/x"), "/tmp/x");
    EXPECT_EQ(parse("file:///tmp/nl%0Aname%01%7F"), "/tmp/nl\nname\x01\x7f");
    EXPECT_EQ(parse("FILE:///tmp/a%2Fb"), "/tmp/a/b");
    EXPECT_EQ(parse("file:///tmp/%FF%fe?query#frag"), "/tmp/\xff\xfe");
    EXPECT_EQ(parse("file:///"), "/");
    for (const std::filesystem::path path :
         {"/a b/c#d?e%f", "/\xff\xfe/\xc3\xa9t\xc3\xa9.JPG", "/tmp/100% real"}) {
        EXPECT_EQ(parse(fileUrlFromPath(path)), path);
    }
}

TEST(FileUrl, RefusesAnythingButALocalAbsolutePath) {
    for (const std::string_view bad : std::initializer_list<std::string_view>{
             "", "/tmp/x", "tmp/x", "http://host/x", "file://server/share", "file:relative",
             "file:///tmp/%00x", "file:///tmp/%zz", "file:///tmp/%4", "file:///tmp/x\n",
             std::string_view("file:///tmp/\0", 13)}) {
        EXPECT_FALSE(parse(bad)) << bad;
    }
}

}  // namespace
}  // namespace vesko
