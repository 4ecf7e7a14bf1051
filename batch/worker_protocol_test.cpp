// The frames between a run and its workers: whole frames out of bytes as they come,
// damaged frames refused, and the settings across the socket unchanged.
#include "batch/worker_protocol.h"

#include <gtest/gtest.h>

namespace batch::protocol {
namespace {

TEST(WorkerProtocol, FramesComeOutWholeHoweverTheBytesArrive) {
    const Frame sent{kError, {"/a/\nb\xFF.dxf", "", std::string(70000, 'x')}};
    const std::string bytes = encode(sent) + encode({kDone, {}});
    for (size_t piece : {size_t(1), size_t(7), bytes.size()}) {
        FrameReader reader;
        std::vector<Frame> got;
        for (size_t at = 0; at < bytes.size(); at += piece) {
            reader.feed(bytes.data() + at, std::min(piece, bytes.size() - at));
            while (auto frame = reader.next()) got.push_back(*frame);
        }
        ASSERT_EQ(got.size(), 2u) << "in pieces of " << piece;
        EXPECT_EQ(got[0].kind, kError);
        EXPECT_EQ(got[0].fields, sent.fields);
        EXPECT_EQ(got[1].kind, kDone);
        EXPECT_TRUE(got[1].fields.empty());
        EXPECT_FALSE(reader.broken());
    }
}

TEST(WorkerProtocol, DamagedFramesBreakTheReader) {
    const std::string empty("\0\0\0\0", 4);
    const std::string huge("\xFF\xFF\xFF\x7F", 4);
    // One byte of kind and a field claiming ten bytes where three follow.
    const std::string overrun = std::string("\x08\0\0\0", 4) + "s" + std::string("\x0A\0\0\0", 4) + "abc";
    for (const std::string& bytes : {empty, huge, overrun}) {
        FrameReader reader;
        reader.feed(bytes.data(), bytes.size());
        EXPECT_FALSE(reader.next());
        EXPECT_TRUE(reader.broken());
    }
}

TEST(WorkerProtocol, SettingsCrossUnchanged) {
    BatchSettings s;
    s.plot = true;
    s.device = "PDF";
    s.styleSheet = "monochrome.ctb";
    s.paper = "A4";
    s.paperUnits = 0;
    s.audit = s.editAttributes = s.renameCopy = true;
    s.block = "TITLE";
    s.tags = {"REV", "NAME"};
    s.values = {"C", ""};
    s.name.addTag("NAME");
    s.name.addConstant("-");
    s.errorLog = "/stays/here.txt";
    BatchSettings got;
    bool statuses = false;
    ASSERT_TRUE(settingsFromFrame(settingsFrame(s, true), got, statuses));
    EXPECT_TRUE(statuses);
    EXPECT_EQ(got.plot, s.plot);
    EXPECT_EQ(got.device, s.device);
    EXPECT_EQ(got.styleSheet, s.styleSheet);
    EXPECT_EQ(got.paper, s.paper);
    EXPECT_EQ(got.paperUnits, s.paperUnits);
    EXPECT_EQ(got.purge, s.purge);
    EXPECT_EQ(got.audit, s.audit);
    EXPECT_EQ(got.editAttributes, s.editAttributes);
    EXPECT_EQ(got.renameCopy, s.renameCopy);
    EXPECT_EQ(got.block, s.block);
    EXPECT_EQ(got.tags, s.tags);
    EXPECT_EQ(got.values, s.values);
    EXPECT_EQ(got.name.slots(), s.name.slots());
    EXPECT_EQ(got.errorLog, "");

    Frame cut = settingsFrame(s, false);
    cut.fields.pop_back();
    EXPECT_FALSE(settingsFromFrame(cut, got, statuses));
    Frame job{kJob, {"1", "2", "a.dxf"}};
    EXPECT_FALSE(settingsFromFrame(job, got, statuses));
}

}  // namespace
}  // namespace batch::protocol
