#include "app/about_text.h"

#include <gtest/gtest.h>

namespace kavlo {
namespace {

TEST(AboutText, ShortensTheVersionByTrailingZeroParts) {
    const std::pair<const char*, const char*> cases[] = {
        {"2.5.0.0", "2.5"}, {"2.0.0.0", "2.0"}, {"10.0.0.0", "10.0"}, {"2.5.0.1", "2.5.0.1"},
        {"1.0", "1.0"},     {"", ""},           {"3.0.0", "3.0"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(ShortenVersion(in), out) << in;
}

TEST(AboutText, LinkTargetsAddTheSchemeAndTheSubject) {
    const char* box = "About Ostra's Kavlodex";
    EXPECT_EQ(LinkTarget("http://www.kavlodex.example/", box), "http://www.kavlodex.example/");
    EXPECT_EQ(LinkTarget("HTTP://x.example", box), "HTTP://x.example");
    EXPECT_EQ(LinkTarget("www.kavlodex.example", box), "http://www.kavlodex.example");
    EXPECT_EQ(LinkTarget("kavlodex@kavlodex.example", box),
              "mailto:kavlodex@kavlodex.example?subject=About Ostra's Kavlodex");
    EXPECT_EQ(LinkTarget("MailTo:a@b.example", box), "MailTo:a@b.example");
}

}  // namespace
}  // namespace kavlo
