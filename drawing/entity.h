// Entities of a drawing as the batch run sees them: every entity has its ObjectName,
// a block reference its block name and its attributes, an attribute its tag and value.
// Texts are UTF-8 whatever the file's encoding.
//
// An entity is a view of one record of a Drawing; it stays valid while the drawing
// lives and no record is inserted (PurgeAll and AuditInfo may insert records).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "drawing/drawing.h"

namespace drawing {

class AcadEntity {
public:
    AcadEntity(Drawing& drawing, size_t record) : drawing_(&drawing), record_(record) {}

    // "AcDbBlockReference" for INSERT, "AcDbLine" for LINE and so on.
    std::string objectName() const;
    bool isBlockReference() const;
    size_t record() const { return record_; }

protected:
    bool isMultipleInsert() const;

    Drawing* drawing_;
    size_t record_;
};

class AcadAttributeReference : public AcadEntity {
public:
    using AcadEntity::AcadEntity;

    std::string tagString() const;
    std::string textString() const;
    // Writes the value. Line breaks and other control characters, which a DXF value
    // cannot hold, become blanks; characters the file's code page lacks become \U+XXXX.
    void setTextString(std::string_view text);
};

class AcadBlockReference : public AcadEntity {
public:
    // REQUIRES: entity.isBlockReference()
    explicit AcadBlockReference(const AcadEntity& entity) : AcadEntity(entity) {}

    std::string name() const;
    bool hasAttributes() const;
    // The attributes attached to the reference, in the order the block gives them.
    std::vector<AcadAttributeReference> getAttributes() const;
};

// The ObjectName of a record type ("INSERT" -> "AcDbBlockReference").
std::string objectNameOf(std::string_view type);

}  // namespace drawing
