#include "platform/paths.h"

#include "platform/error.h"
#include "platform/scratch.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

using namespace hxq::platform;
using hxq::test::ScratchDir;

TEST(Paths, WindowsStylePathsJoinWithOneSeparator) {
    EXPECT_EQ(native_path("C:\\data\\hxq.ini"), "C:/data/hxq.ini");
    EXPECT_EQ(join_path("/work", "\\hxq.ini"), "/work/hxq.ini");
    EXPECT_EQ(join_path("/work/", "\\hxq.ini"), "/work/hxq.ini");
    EXPECT_EQ(join_path("/work\\", "hxq.ini"), "/work/hxq.ini");
    EXPECT_EQ(join_path("templates", "SPC\\SPC_quote.dot"), "templates/SPC/SPC_quote.dot");
    EXPECT_EQ(join_path("/", "\\hxq.ini"), "/hxq.ini");
    EXPECT_EQ(join_path("", "\\hxq.ini"), "/hxq.ini") << "an unset folder leaves the tail as written";
    EXPECT_EQ(join_path("/work", ""), "/work");
}

TEST(Paths, ApplicationPathIsTheFolderOfThisProgram) {
    auto app = application_path();
    EXPECT_TRUE(std::filesystem::is_directory(app));
    EXPECT_TRUE(std::filesystem::exists(app / "test_platform"));
}

TEST(Paths, TemporaryNamesAreFreshAndFilesUnique) {
    std::set<std::string> names;
    for (int i = 0; i < 50; ++i) names.insert(temp_name());
    EXPECT_EQ(names.size(), 50u);
    EXPECT_TRUE(std::regex_match(*names.begin(), std::regex("hxq[0-9a-f]{8}\\.tmp")));

    ScratchDir dir;
    auto a = create_temp_file(dir.path());
    auto b = create_temp_file(dir.path(), ".rtf");
    EXPECT_NE(a, b);
    EXPECT_TRUE(file_exists(a));
    EXPECT_EQ(b.extension(), ".rtf");
    EXPECT_EQ(std::filesystem::file_size(b), 0u);
    EXPECT_THROW(create_temp_file(dir / "missing"), Error);
}

TEST(Paths, FileExistenceAndDeletion) {
    ScratchDir dir;
    auto f = dir / "x.txt";
    EXPECT_FALSE(file_exists(f));
    EXPECT_TRUE(delete_file(f)) << "deleting what is not there leaves it not there";
    hxq::test::write_file(f, "x");
    EXPECT_TRUE(file_exists(f));
    EXPECT_FALSE(file_exists(dir.path())) << "a folder is not a file";
    EXPECT_TRUE(delete_file(f));
    EXPECT_FALSE(file_exists(f));
}
