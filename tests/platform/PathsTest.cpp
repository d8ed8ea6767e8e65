#include <gtest/gtest.h>

#include "platform/Paths.h"

namespace vesko {
namespace {

TEST(Paths, LastComponentIgnoresTrailingSlashesAndKeepsBytes) {
    EXPECT_EQ(lastPathComponent("/a/b.JPG"), "b.JPG");
    EXPECT_EQ(lastPathComponent("/a/My Trip//"), "My Trip");
    EXPECT_EQ(lastPathComponent("/"), "/");
    EXPECT_EQ(lastPathComponent("/a/\xff\xfe.jpg"), "\xff\xfe.jpg");
}

TEST(Paths, ExtensionIsTheTextAfterTheLastDotLeadingDotIncluded) {
    EXPECT_EQ(pathExtension("x.txt.jpg"), "jpg");
    EXPECT_EQ(pathExtension(".jpg"), "jpg");
    EXPECT_EQ(pathExtension("._IMG_1.JPG"), "JPG");
    EXPECT_EQ(pathExtension("a."), "");
    EXPECT_EQ(pathExtension("README"), "");
    EXPECT_EQ(pathExtension("a.jpg "), "jpg ");
}

TEST(Paths, LowercasingTouchesOnlyAsciiLetters) {
    EXPECT_EQ(lowercased("WebP"), "webp");
    EXPECT_EQ(lowercased("J\xc3\x89PG"), "j\xc3\x89pg");
}

TEST(Paths, AppendAddsOneComponent) {
    EXPECT_EQ(appendingPathComponent("/p", "Selected"), "/p/Selected");
    EXPECT_EQ(appendingPathComponent("/p/", "Selected"), "/p/Selected");
}

}  // namespace
}  // namespace vesko
