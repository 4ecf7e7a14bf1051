// The messages between a batch run and its worker processes, over one stream socket.
// A frame is its length (4 bytes, little-endian), a kind byte and fields, each a
// 4-byte length and its bytes: paths travel as they are, whatever bytes they hold.
//
// The run sends the settings once, then one job at a time, and answers each claim of a
// plot or a copy. The worker says hello after the settings, then for each job reports
// what the run's observer would hear, claims each file use (waiting for the answer to
// a plot's or a copy's claim; the save of the drawing's own file is only told), and
// says done.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "batch/run.h"

namespace batch::protocol {

enum Kind : char {
    kSettings = 'S',  // run → worker: the batch settings (settingsFrame)
    kJob = 'J',       // run → worker: number, count, path
    kAnswer = 'A',    // run → worker: "1" the claim is granted, "0" abandon the drawing
    kHello = 'H',     // worker → run: ready for jobs
    kStatus = 's',    // text
    kSaved = 'v',     // path
    kPlotted = 'p',   // path, output
    kNote = 'n',      // text
    kDrawingNote = 'N',  // path, what its DWG held that was not translated
    kError = 'e',     // path, reason
    kClaim = 'c',     // use (FileUse as a digit), path
    kReleased = 'r',  // the use claimed last is over
    kDone = 'd',      // the job has ended: "1" taken to its end, "0" abandoned by a stop
};

struct Frame {
    char kind = 0;
    std::vector<std::string> fields;
};

std::string encode(const Frame& frame);

// Collects bytes as they arrive and hands out the whole frames among them.
class FrameReader {
public:
    void feed(const char* bytes, size_t size) { buffer_.append(bytes, size); }
    // The next whole frame; nothing while it is incomplete. A frame longer than
    // kMaxFrame, or one whose fields overrun it, sets broken().
    std::optional<Frame> next();
    bool broken() const { return broken_; }

    static constexpr uint32_t kMaxFrame = 64u << 20;

private:
    std::string buffer_;
    size_t start_ = 0;
    bool broken_ = false;
};

// Blocking frame I/O on a stream socket; false on end of stream, an error or a broken
// frame. Writing never raises SIGPIPE.
bool writeFrame(int fd, const Frame& frame);
bool readFrame(int fd, FrameReader& reader, Frame& frame);

// A field holding a count or a number in decimal digits; nothing when it does not.
std::optional<size_t> numberField(const std::string& field);

// The settings of the run (the error log stays with the run) and whether the run
// wants the status texts.
Frame settingsFrame(const BatchSettings& settings, bool statuses);
// False when the frame does not hold settings.
bool settingsFromFrame(const Frame& frame, BatchSettings& settings, bool& statuses);

}  // namespace batch::protocol
