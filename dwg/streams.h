// The three streams of a section or an object: its data, its texts and its handles.
// Up to 2004 texts and handles sit in the data stream (handles after the data); from
// 2007 on the texts have a stream of their own at the end of the data, whose size is
// stored backwards from the data's last bit.
#pragma once

#include <cstddef>

#include "dwg/bit_reader.h"

namespace dwg {

struct Streams {
    BitReader data;
    BitReader strings;  // from 2007 on; the data reader reads its TV from here
    BitReader handles;
    bool failed() const { return data.failed() || strings.failed() || handles.failed(); }
};

// Sets `strings` (a reader over the object's or section's bytes) to the text stream of
// data that ends at bit `dataEnd`: the flag at dataEnd - 1 says whether there are texts;
// their size is stored in the 16 (or 32) bits before it. Without texts the reader is
// left at its end, so that a text read from it fails. Returns false when the stored
// size does not fit.
bool locateStrings(BitReader& strings, size_t dataEnd);

}  // namespace dwg
