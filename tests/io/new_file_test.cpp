#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "io/new_file.h"

namespace vortel {
namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A new name every time, never over a file, a link or a link's target; a
// folder that cannot be had leaves nothing behind.
TEST(NewFile, TakesTheFirstFreeNumberedNameAndNeverReplacesAnything) {
    const fs::path dir = fs::temp_directory_path() / ("vortel_new_file_" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    EXPECT_EQ(numberedName("a", ".png", 1), "a.png");
    EXPECT_EQ(numberedName("a", ".png", 3), "a-3.png");

    std::ofstream(dir / "shot-2.png") << "old";
    fs::create_symlink(dir / "target.png", dir / "shot-3.png");  // dangling: must not be created through
    const std::vector<uint8_t> bytes = {1, 2, 3, 4};
    std::vector<std::string> names;
    for (int i = 0; i < 3; ++i) {
        std::string name, why;
        ASSERT_TRUE(writeNewFile(dir.string(), "shot", ".png", bytes, &name, &why)) << why;
        names.push_back(name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{(dir / "shot.png").string(), (dir / "shot-4.png").string(),
                                               (dir / "shot-5.png").string()}));
    EXPECT_EQ(slurp(dir / "shot-2.png"), "old");
    EXPECT_FALSE(fs::exists(dir / "target.png"));
    EXPECT_EQ(slurp(dir / "shot-5.png"), std::string("\1\2\3\4"));

    std::string name = "unchanged", why;
    EXPECT_FALSE(writeNewFile((dir / "no" / "such").string(), "shot", ".png", bytes, &name, &why));
    EXPECT_EQ(name, "unchanged");
    EXPECT_NE(why.find("no/such/shot.png"), std::string::npos) << why;
    EXPECT_EQ(why.find('\n'), std::string::npos);
    EXPECT_FALSE(writeNewFile((dir / "shot.png").string(), "x", ".png", bytes, &name, &why));  // not a folder
    fs::remove_all(dir);
}

}  // namespace
}  // namespace vortel
