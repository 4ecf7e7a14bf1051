#include "batch/worker_protocol.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>

namespace batch::protocol {
namespace {

void putLength(std::string& out, size_t n) {
    for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((n >> shift) & 0xFF);
}

uint32_t lengthAt(const std::string& in, size_t at) {
    uint32_t n = 0;
    for (int i = 3; i >= 0; --i) n = (n << 8) | static_cast<unsigned char>(in[at + i]);
    return n;
}

std::string flag(bool on) { return on ? "1" : "0"; }

}  // namespace

std::optional<size_t> numberField(const std::string& field) {
    size_t n = 0;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), n);
    if (field.empty() || ec != std::errc() || end != field.data() + field.size())
        return std::nullopt;
    return n;
}

std::string encode(const Frame& frame) {
    std::string body(1, frame.kind);
    for (const std::string& field : frame.fields) {
        putLength(body, field.size());
        body += field;
    }
    std::string out;
    putLength(out, body.size());
    return out + body;
}

std::optional<Frame> FrameReader::next() {
    if (broken_ || buffer_.size() - start_ < 4) return std::nullopt;
    const uint32_t size = lengthAt(buffer_, start_);
    if (size == 0 || size > kMaxFrame) {
        broken_ = true;
        return std::nullopt;
    }
    if (buffer_.size() - start_ - 4 < size) return std::nullopt;
    const size_t end = start_ + 4 + size;
    Frame frame;
    frame.kind = buffer_[start_ + 4];
    for (size_t at = start_ + 5; at < end;) {
        if (end - at < 4 || end - at - 4 < lengthAt(buffer_, at)) {
            broken_ = true;
            return std::nullopt;
        }
        const uint32_t n = lengthAt(buffer_, at);
        frame.fields.emplace_back(buffer_, at + 4, n);
        at += 4 + n;
    }
    start_ = end;
    // The consumed bytes go once they are the larger part of the buffer.
    if (start_ > buffer_.size() / 2) {
        buffer_.erase(0, start_);
        start_ = 0;
    }
    return frame;
}

bool writeFrame(int fd, const Frame& frame) {
    const std::string bytes = encode(frame);
    for (size_t sent = 0; sent < bytes.size();) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

bool readFrame(int fd, FrameReader& reader, Frame& frame) {
    for (;;) {
        if (auto next = reader.next()) {
            frame = std::move(*next);
            return true;
        }
        if (reader.broken()) return false;
        char buffer[1 << 16];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        reader.feed(buffer, static_cast<size_t>(n));
    }
}

Frame settingsFrame(const BatchSettings& s, bool statuses) {
    Frame frame{kSettings,
                {flag(statuses), flag(s.plot), s.device, s.styleSheet, s.paper, std::to_string(s.paperUnits),
                 flag(s.purge), flag(s.audit), flag(s.editAttributes), flag(s.renameCopy),
                 s.block, std::to_string(s.tags.size())}};
    frame.fields.insert(frame.fields.end(), s.tags.begin(), s.tags.end());
    frame.fields.insert(frame.fields.end(), s.values.begin(), s.values.end());
    frame.fields.push_back(std::to_string(s.name.slots().size()));
    frame.fields.insert(frame.fields.end(), s.name.slots().begin(), s.name.slots().end());
    return frame;
}

bool settingsFromFrame(const Frame& frame, BatchSettings& s, bool& statuses) {
    if (frame.kind != kSettings || frame.fields.empty()) return false;
    statuses = frame.fields[0] == "1";
    const std::vector<std::string> f(frame.fields.begin() + 1, frame.fields.end());
    constexpr size_t kFixed = 11;
    if (f.size() < kFixed) return false;
    const auto units = numberField(f[4]);
    const auto tags = numberField(f[10]);
    if (!units || !tags || f.size() < kFixed + 2 * *tags + 1) return false;
    const size_t slotsAt = kFixed + 2 * *tags;
    const auto slots = numberField(f[slotsAt]);
    if (!slots || f.size() != slotsAt + 1 + *slots) return false;
    s.plot = f[0] == "1";
    s.device = f[1];
    s.styleSheet = f[2];
    s.paper = f[3];
    s.paperUnits = static_cast<int>(*units);
    s.purge = f[5] == "1";
    s.audit = f[6] == "1";
    s.editAttributes = f[7] == "1";
    s.renameCopy = f[8] == "1";
    s.block = f[9];
    s.tags.assign(f.begin() + kFixed, f.begin() + kFixed + *tags);
    s.values.assign(f.begin() + kFixed + *tags, f.begin() + slotsAt);
    s.name.clear();
    // The slots travel as stored: a constant's slot keeps its "const" mark.
    for (size_t i = slotsAt + 1; i < f.size(); ++i)
        if (!s.name.addTag(f[i])) return false;
    return true;
}

}  // namespace batch::protocol
