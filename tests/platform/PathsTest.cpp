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

TEST(Paths, AppendAddsOneComponent) {
    EXPECT_EQ(appendingPathComponent("/p", "Selected"), "/p/Selected");
    EXPECT_EQ(appendingPathComponent("/p/", "Selected"), "/p/Selected");
}

}  // namespace
}  // namespace vesko
