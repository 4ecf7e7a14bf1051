// The order of file uses among drawings in worker processes: each case is a run's
// drawings, what the earlier ones have done, and whether a later claim may go ahead.
#include "batch/file_claims.h"

#include <gtest/gtest.h>

namespace batch {
namespace {

struct Earlier {
    FileUse use;
    std::string path;
    bool released;
};

struct ClaimCase {
    const char* name;
    bool saves;
    bool copies;
    std::vector<Earlier> first;  // what drawing 0 (/d/a.dxf) has claimed, in order
    bool firstFinished;
    FileUse use;  // drawing 2's claim
    std::string path;
    bool exists;
    bool granted;
};

class FileClaimsTest : public ::testing::TestWithParam<ClaimCase> {};

TEST_P(FileClaimsTest, AClaimWaitsForEarlierDrawingsThatMayTouchTheFile) {
    const ClaimCase& c = GetParam();
    FileClaims claims({"/d/a.dxf", "/d/b.dxf", "/d/c.dxf"}, c.saves, c.copies);
    // Drawing 1 has ended: it never holds anything up.
    claims.finished(1);
    for (const Earlier& e : c.first) {
        claims.claim(0, e.use, e.path);
        if (e.released) claims.released(0);
    }
    if (c.firstFinished) claims.finished(0);
    claims.claim(2, c.use, c.path);
    EXPECT_EQ(claims.mayUse(2, c.use, c.path, c.exists), c.granted);
}

const Earlier kRead{FileUse::Read, "/d/a.dxf", true};

INSTANTIATE_TEST_SUITE_P(
    Cases, FileClaimsTest,
    ::testing::Values(
        ClaimCase{"ReadingAnotherDrawing", true, false, {kRead}, false, FileUse::Read,
                  "/d/c.dxf", true, true},
        ClaimCase{"ReadingADrawingListedBeforeAndStillInHand", true, false, {kRead}, false,
                  FileUse::Read, "/d/a.dxf", true, false},
        ClaimCase{"ReadingADrawingListedBeforeAndFinished", true, false, {kRead}, true,
                  FileUse::Read, "/d/a.dxf", true, true},
        ClaimCase{"ReadingADrawingListedBeforeInAPlotOnlyRun", false, false, {kRead}, false,
                  FileUse::Read, "/d/a.dxf", true, true},
        ClaimCase{"PlottingBeforeTheEarlierPlot", false, false, {kRead}, false, FileUse::Plot,
                  "/d/c.dxf", true, false},
        ClaimCase{"PlottingWhileTheEarlierPlots", false, false,
                  {kRead, {FileUse::Plot, "/d/a.dxf", false}}, false, FileUse::Plot, "/d/c.dxf",
                  true, false},
        ClaimCase{"PlottingAfterTheEarlierPlot", false, false,
                  {kRead, {FileUse::Plot, "/d/a.dxf", true}}, false, FileUse::Plot, "/d/c.dxf",
                  true, true},
        ClaimCase{"ANewCopyBeforeTheEarlierCopyIsNamed", true, true, {kRead}, false,
                  FileUse::Copy, "/d/X.dxf", false, false},
        ClaimCase{"ANewCopyAfterTheEarlierNamedAnother", true, true,
                  {kRead, {FileUse::Copy, "/d/Y.dxf", false}}, false, FileUse::Copy, "/d/X.dxf",
                  false, true},
        ClaimCase{"ACopyOfTheSameNameWhileTheEarlierIsInHand", true, true,
                  {kRead, {FileUse::Copy, "/d/X.dxf", true}}, false, FileUse::Copy, "/d/X.dxf",
                  true, false},
        ClaimCase{"ACopyOfTheSameNameOnceTheEarlierHasEnded", true, true,
                  {kRead, {FileUse::Copy, "/d/X.dxf", true}}, true, FileUse::Copy, "/d/X.dxf",
                  true, true},
        ClaimCase{"ACopyOverAFileThatExists", true, true, {kRead}, false, FileUse::Copy,
                  "/d/old.dxf", true, true},
        ClaimCase{"ReadingAMissingFileAnEarlierCopyMayMake", true, true, {kRead}, false,
                  FileUse::Read, "/d/gone.dxf", false, false},
        ClaimCase{"SavingItsOwnFile", true, false, {kRead}, false, FileUse::Save, "/d/c.dxf",
                  true, true}),
    [](const ::testing::TestParamInfo<ClaimCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace batch
