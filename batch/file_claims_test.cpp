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

// What the later drawing asks: to be opened (handed out), to plot, to save a copy.
enum class Ask { Open, Plot, Copy };

struct ClaimCase {
    const char* name;
    bool saves;
    bool copies;
    std::vector<Earlier> first;  // what drawing 0 (/d/a.dxf) has claimed, in order
    bool firstFinished;
    Ask ask;           // drawing 2's question
    std::string path;  // its path (/d/a.dxf when it is listed twice) or its copy's
    bool exists;
    bool granted;
};

void PrintTo(const ClaimCase& c, std::ostream* os) { *os << c.name; }

class FileClaimsTest : public ::testing::TestWithParam<ClaimCase> {};

TEST_P(FileClaimsTest, AClaimWaitsForEarlierDrawingsThatMayTouchTheFile) {
    const ClaimCase& c = GetParam();
    const std::string third = c.ask == Ask::Open ? c.path : "/d/c.dxf";
    FileClaims claims({"/d/a.dxf", "/d/b.dxf", third}, c.saves, c.copies);
    // Drawing 1 has ended: it never holds anything up.
    claims.finished(1);
    for (const Earlier& e : c.first) {
        claims.claim(0, e.use, e.path);
        if (e.released) claims.released(0);
    }
    if (c.firstFinished) claims.finished(0);
    if (c.ask == Ask::Open) {
        EXPECT_EQ(claims.mayOpen(2, c.exists), c.granted);
        return;
    }
    const FileUse use = c.ask == Ask::Plot ? FileUse::Plot : FileUse::Copy;
    claims.claim(2, use, c.path);
    EXPECT_EQ(claims.mayUse(2, use, c.path, c.exists), c.granted);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FileClaimsTest,
    ::testing::Values(
        ClaimCase{"OpeningAnotherDrawing", true, false, {}, false, Ask::Open,
                  "/d/c.dxf", true, true},
        ClaimCase{"OpeningADrawingListedBeforeAndStillInHand", true, false, {}, false,
                  Ask::Open, "/d/a.dxf", true, false},
        ClaimCase{"OpeningADrawingListedBeforeAndFinished", true, false, {}, true,
                  Ask::Open, "/d/a.dxf", true, true},
        ClaimCase{"OpeningADrawingListedBeforeInAPlotOnlyRun", false, false, {}, false,
                  Ask::Open, "/d/a.dxf", true, true},
        ClaimCase{"PlottingBeforeTheEarlierPlot", false, false, {}, false, Ask::Plot,
                  "/d/c.dxf", true, false},
        ClaimCase{"PlottingWhileTheEarlierPlots", false, false,
                  {{FileUse::Plot, "/d/a.dxf", false}}, false, Ask::Plot, "/d/c.dxf",
                  true, false},
        ClaimCase{"PlottingAfterTheEarlierPlot", false, false,
                  {{FileUse::Plot, "/d/a.dxf", true}}, false, Ask::Plot, "/d/c.dxf",
                  true, true},
        ClaimCase{"ANewCopyBeforeTheEarlierCopyIsNamed", true, true, {}, false, Ask::Copy,
                  "/d/X.dxf", false, false},
        ClaimCase{"ANewCopyAfterTheEarlierNamedAnother", true, true,
                  {{FileUse::Copy, "/d/Y.dxf", false}}, false, Ask::Copy, "/d/X.dxf",
                  false, true},
        ClaimCase{"ACopyOfTheSameNameWhileTheEarlierIsInHand", true, true,
                  {{FileUse::Copy, "/d/X.dxf", true}}, false, Ask::Copy, "/d/X.dxf",
                  true, false},
        ClaimCase{"ACopyOfTheSameNameOnceTheEarlierHasEnded", true, true,
                  {{FileUse::Copy, "/d/X.dxf", true}}, true, Ask::Copy, "/d/X.dxf",
                  true, true},
        ClaimCase{"ACopyOverAFileThatExists", true, true, {}, false, Ask::Copy,
                  "/d/old.dxf", true, true},
        ClaimCase{"OpeningAMissingFileAnEarlierCopyMayMake", true, true, {}, false,
                  Ask::Open, "/d/gone.dxf", false, false},
        ClaimCase{"ACopyNamedLikeADrawingListedBeforeAndStillInHand", true, true,
                  {{FileUse::Copy, "/d/Y.dxf", true}}, false, Ask::Copy, "/d/a.dxf", true,
                  false}),
    [](const ::testing::TestParamInfo<ClaimCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace batch
