#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "io/json.h"

namespace vortel {
namespace {

TEST(JsonDump, RealsHaveNineSignificantDigitsAndReadBackExactly) {
    Json j;
    j["bpm"] = 123.724487f;
    j["tiny"] = 1e-7f;
    j["list"] = Json::array({0.1f, -1.0f, 0.0f});
    j["name"] = "drum:bass:\"bump\"";
    j["n"] = -7;
    j["empty"] = Json::object();
    std::string text = dumpJson(j, -1);
    EXPECT_EQ(text,
              "{\"bpm\":123.724487,\"tiny\":1.00000001e-07,\"list\":[0.100000001,-1,0],"
              "\"name\":\"drum:bass:\\\"bump\\\"\",\"n\":-7,\"empty\":{}}");
    // Any reader, rounding to float, gets the same values back.
    for (float f : {123.724487f, 1e-7f, 0.1f, 3.4028235e38f, 1.17549435e-38f, 0.12496091f}) {
        Json one = f;
        std::string s = dumpJson(one);
        EXPECT_EQ(std::strtof(s.c_str(), nullptr), f) << s;
    }
    // Indented output parses back to the same document.
    Json back = Json::parse(dumpJson(j, 2));
    EXPECT_EQ(back["bpm"].get<float>(), 123.724487f);
    EXPECT_EQ(back["name"], j["name"]);
    EXPECT_EQ(back["list"].size(), 3u);
}

}  // namespace
}  // namespace vortel
