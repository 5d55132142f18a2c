#include "gui/error_report.h"

#include <gtest/gtest.h>

namespace kavlo {
namespace {

TEST(ErrorReport, AddsAFullStopAfterCharactersThatSortAfterIt) {
    EXPECT_EQ(ErrorReportText("Unsupported file type: .doc"), "Unsupported file type: .doc.");
    EXPECT_EQ(ErrorReportText("Stream read error"), "Stream read error.");
    EXPECT_EQ(ErrorReportText("Assertion failure (FobFileUnit, line 7)"), "Assertion failure (FobFileUnit, line 7)");
    EXPECT_EQ(ErrorReportText("Done."), "Done.");
    EXPECT_EQ(ErrorReportText("Unsupported file type: "), "Unsupported file type: ");
    EXPECT_EQ(ErrorReportText("Cannot open file \"x.fob\". Access is denied"), "Cannot open file \"x.fob\". Access is denied.");
    EXPECT_EQ(ErrorReportText("Ends in \xE6"), "Ends in \xE6.");  // bytes above 127 sort after "."
    EXPECT_EQ(ErrorReportText(""), "");
}

}  // namespace
}  // namespace kavlo
