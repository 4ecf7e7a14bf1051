// The frame of one object of the object map: its size, its type, its handle and
// extended data, its streams, and the data every entity or every other object begins
// with. Each object type's own data is read from the frame afterwards.
#pragma once

#include <cstdint>
#include <span>

#include "dwg/record.h"
#include "dwg/streams.h"

namespace dwg {

class ObjectFrame {
public:
    ObjectFrame() = default;
    ObjectFrame(const ObjectFrame&) = delete;  // its data reader points at its text reader
    ObjectFrame& operator=(const ObjectFrame&) = delete;

    // Reads the frame of the object whose size (MS) is at byte `offset` of `objects`:
    // its size, type and, from 2000 on, where its handles begin. False when the object
    // does not fit in the bytes.
    bool open(std::span<const uint8_t> objects, uint64_t offset, Version version);

    uint16_t type() const { return type_; }
    Version version() const { return version_; }
    uint64_t handle() const { return handle_; }

    // The object's handle and extended data (into record.xdata), then the data common
    // to entities (layer, colour, linetype ...) or to other objects (owner, reactors,
    // extension dictionary).
    void readEntityCommon(Record& record);
    void readObjectCommon(Record& record);
    // The entity data from the entity mode on (an attribute of 2018 embeds the whole
    // of an MTEXT from there).
    void readEntityMode(Record& record);

    BitReader& data() { return streams_.data; }
    BitReader& handles() { return streams_.handles; }
    // The next handle reference, resolved against the object's own handle.
    uint64_t ref() { return resolve(streams_.handles.H(), handle_); }
    bool failed() const { return streams_.failed(); }
    // The proxy graphics of an entity (empty when it has none), as stored: the drawing
    // program's own record of what the entity looks like.
    std::string graphics() const;
    bool hasGraphics() const { return graphicsBytes_ != 0; }
    // The bits left unread of the data (up to its texts) and of the handles: an object
    // read with its true layout leaves no more than the padding to a whole byte.
    long dataLeft() const;
    long handlesLeft() const;

private:
    void readHandleAndEed(Record& record);
    // The count of persistent reactors and whether an extension dictionary is left out
    // (data); then the handles of both.
    bool readOwnership(int64_t& reactors, bool& noXdictionary);
    void readOwnershipHandles(Record& record, int64_t reactors, bool noXdictionary);
    void readEed(Record& record);
    void startHandles(size_t dataBits);  // the data's size in bits from the type on

    Streams streams_;
    Version version_ = Version::R2000;
    uint16_t type_ = 0;
    uint64_t handle_ = 0;
    size_t start_ = 0;    // bit of the type
    size_t end_ = 0;      // bit after the object's last byte
    size_t dataEnd_ = 0;  // bit where the handles begin
    size_t dataStop_ = 0;  // bit where the data end (before the texts from 2007 on)
    size_t graphicsAt_ = 0;     // bit where an entity's proxy graphics begin
    size_t graphicsBytes_ = 0;
};

}  // namespace dwg
