#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "io/replace_file.h"

namespace vortel {
namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The name itself is replaced, whatever it is; what a link there points to
// is never touched, and a write that fails leaves no temporary behind.
TEST(ReplaceFile, ReplacesTheNameNeverWhatALinkPointsTo) {
    const fs::path dir = fs::temp_directory_path() / ("vortel_replace_file_" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "folder");
    std::string why;
    ASSERT_TRUE(replaceFile((dir / "new.html").string(), "one", &why)) << why;
    EXPECT_EQ(slurp(dir / "new.html"), "one");
    fs::permissions(dir / "new.html", fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(replaceFile((dir / "new.html").string(), "two", &why)) << why;
    EXPECT_EQ(slurp(dir / "new.html"), "two");
    EXPECT_EQ(fs::status(dir / "new.html").permissions(), fs::perms::owner_read | fs::perms::owner_write);

    std::ofstream(dir / "target.txt") << "keep";
    fs::create_symlink(dir / "target.txt", dir / "link.html");
    fs::create_symlink(dir / "made.txt", dir / "dangling.html");
    for (const char* name : {"link.html", "dangling.html"}) {
        ASSERT_TRUE(replaceFile((dir / name).string(), name, &why)) << why;
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir / name)));
        EXPECT_EQ(slurp(dir / name), name);
    }
    EXPECT_EQ(slurp(dir / "target.txt"), "keep");
    EXPECT_FALSE(fs::exists(dir / "made.txt"));

    // A folder cannot be replaced by a file; a missing folder takes nothing.
    EXPECT_FALSE(replaceFile((dir / "folder").string(), "x", &why));
    EXPECT_NE(why.find((dir / "folder").string()), std::string::npos) << why;
    EXPECT_EQ(why.find('\n'), std::string::npos);
    EXPECT_TRUE(fs::is_directory(dir / "folder"));
    EXPECT_FALSE(replaceFile((dir / "no" / "such.html").string(), "x", &why));
    EXPECT_NE(why.find("no/such.html"), std::string::npos) << why;
    int temporaries = 0;
    for (const auto& f : fs::recursive_directory_iterator(dir))
        temporaries += f.path().filename().string().rfind(".vortel-", 0) == 0;
    EXPECT_EQ(temporaries, 0);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace vortel
