// The first standard-part type of standard.db: the "gb" and "name" of the first record,
// in stored order, of table "bolt_type". The database is opened for the reading only
// and closed again before the call returns.
#pragma once

#include <string>

#include "ui/message.h"

namespace standardparts {

struct FirstPartType {
    std::string gb;    // standard number, e.g. "GB/T 5782-2000"
    std::string name;  // part-type name, e.g. "六角头螺栓"
    // Set, with gb and name empty, when the file is missing or damaged, the table or
    // one of its two fields is missing, or the table is empty.
    ui::OptionalMessage message;
};

// Reads standard.db in `folder`.
FirstPartType readFirstPartType(const std::string& folder);

}  // namespace standardparts
