// Entity names, entity data lists and the C-style opening calls. The data list comes from the same
// attribute tables that save the drawing, so it shows exactly what a saved file would hold.

#include "cad/ed/entity_access.h"

#include "cad/db/object_io.h"
#include "cad/dxf/tag_writer.h"
#include "cad/ed/entity_subject.h"
#include "cad/ed/layouts.h"
#include "cad/ed/wildcard_pattern.h"

namespace cad::ed {
namespace {

bool isHandleReference(int code) {
    return (code >= 320 && code <= 369) || (code >= 390 && code <= 399) || (code >= 480 && code <= 481) ||
           code == 1005;
}

// A handle group's value; a damaged one names no object.
AcDbHandle handleOf(std::string_view text) {
    AcDbHandle handle;
    AcDbHandle::parseHex(text, handle);
    return handle;
}

class ChainBuilder {
public:
    void append(resbuf* buffer) {
        if (buffer == nullptr) {
            return;
        }
        if (m_head == nullptr) {
            m_head = buffer;
        } else {
            m_tail->rbnext = buffer;
        }
        m_tail = buffer;
    }
    resbuf* release() {
        resbuf* head = m_head;
        m_head = nullptr;
        m_tail = nullptr;
        return head;
    }
    ~ChainBuilder() { acutRelRb(m_head); }

private:
    resbuf* m_head = nullptr;
    resbuf* m_tail = nullptr;
};

// Appends the buffers of tags[index...] (a point takes its Y and Z groups with it); returns the next index.
std::size_t appendTag(ChainBuilder& chain, const AcDbDatabase& database,
                      const std::vector<dxf::OwnedTag>& tags, std::size_t index) {
    const dxf::OwnedTag& tag = tags[index];
    const int code = tag.code;
    const ResbufValueKind kind = resbufValueKind(code);
    resbuf* buffer = acutNewRb(code);
    if (buffer == nullptr) {
        return index + 1;
    }
    if (kind == ResbufValueKind::Point) {
        buffer->resval.rpoint[0] = tag.real;
        if (index + 1 < tags.size() && tags[index + 1].code == code + 10) {
            buffer->resval.rpoint[1] = tags[++index].real;
        }
        if (index + 1 < tags.size() && tags[index + 1].code == code + 20) {
            buffer->resval.rpoint[2] = tags[++index].real;
        }
    } else if (kind == ResbufValueKind::EntityName || isHandleReference(code)) {
        if (kind == ResbufValueKind::EntityName) {
            acdbGetAdsName(buffer->resval.rlname, database.objectIdOf(handleOf(tag.text)));
        } else {
            buffer->resval.rstring = acutNewString(database.textCodec().decode(tag.text).c_str());
        }
    } else if (kind == ResbufValueKind::Text) {
        buffer->resval.rstring = acutNewString(database.textCodec().decode(tag.text).c_str());
    } else if (kind == ResbufValueKind::Real) {
        buffer->resval.rreal = tag.real;
    } else if (kind == ResbufValueKind::Short) {
        buffer->resval.rint = static_cast<short>(tag.integer);
    } else if (kind == ResbufValueKind::Long) {
        buffer->resval.rlong = static_cast<std::int32_t>(tag.integer);
    } else if (kind == ResbufValueKind::Int64) {
        buffer->resval.mnInt64 = tag.integer;
    } else if (kind == ResbufValueKind::Binary) {
        std::string bytes;
        dxf::hexToBytes(tag.text, bytes);
        buffer->resval.rbinary.clen = static_cast<short>(bytes.size());
        buffer->resval.rbinary.buf = static_cast<char*>(std::malloc(bytes.empty() ? 1 : bytes.size()));
        std::copy(bytes.begin(), bytes.end(), buffer->resval.rbinary.buf);
    }
    chain.append(buffer);
    return index + 1;
}

// The groups before extended data in the host's order: the owner (330) and handle (5), or, when the
// object carries application groups (102), the handle, those groups and then the owner, as in a file;
// then the rest with 67 and 410 moved behind the AcDbEntity marker for every entity of a layout. The
// layout groups follow the owner, not what the file held. Returns the index of the first extended-data
// tag.
std::size_t appendMainGroups(ChainBuilder& chain, const AcDbDatabase& database, const AcDbObject& object,
                             const std::vector<dxf::OwnedTag>& tags) {
    std::size_t end = 0;
    while (end < tags.size() && tags[end].code < 1000) {
        ++end;
    }
    std::size_t header = 0;
    std::size_t handle = end;
    std::size_t owner = end;
    bool applicationGroups = false;
    for (bool inside = false; header < end; ++header) {
        const int code = tags[header].code;
        if (code == 102) {
            inside = !tags[header].text.starts_with("}");
            applicationGroups = true;
        } else if (code == 5) {
            handle = header;
        } else if (code == 330 && !inside && owner == end) {
            owner = header;
        } else if (!inside) {
            break;
        }
    }
    const AcDbEntity* entity = AcDbEntity::cast(&object);
    if (entity == nullptr || applicationGroups) {
        for (std::size_t index = 0; index < header;) {
            index = appendTag(chain, database, tags, index);
        }
    } else {
        if (owner != end) {
            appendTag(chain, database, tags, owner);
        } else if (!entity->ownerId().isNull()) {
            // Drawings read from R12 files save no owners, but every entity has one.
            resbuf* ownerBuffer = acutNewRb(330);
            acdbGetAdsName(ownerBuffer->resval.rlname, entity->ownerId());
            chain.append(ownerBuffer);
        }
        if (handle != end) {
            appendTag(chain, database, tags, handle);
        }
    }
    const std::wstring layout = entity != nullptr ? layoutNameOfSpace(database, entity->ownerId()) : L"";
    const auto appendLayoutGroups = [&] {
        resbuf* paperSpace = acutNewRb(67);
        paperSpace->resval.rint = entity->ownerId() != database.modelSpaceId() ? 1 : 0;
        chain.append(paperSpace);
        chain.append(acutBuildList(410, layout.c_str(), 0));
    };
    bool layoutGroupsDone = layout.empty();
    std::size_t index = header;
    if (!layoutGroupsDone && (index == end || tags[index].code != 100)) {
        appendLayoutGroups();
        layoutGroupsDone = true;
    }
    while (index < end) {
        const int code = tags[index].code;
        if (!layout.empty() && (code == 67 || code == 410)) {
            ++index;
            continue;
        }
        index = appendTag(chain, database, tags, index);
        if (!layoutGroupsDone && code == 100) {
            appendLayoutGroups();
            layoutGroupsDone = true;
        }
    }
    return end;
}

bool applicationWanted(const std::wstring& application, const resbuf* applications) {
    for (const resbuf* item = applications; item != nullptr; item = item->rbnext) {
        if (item->restype == RTSTR && item->resval.rstring != nullptr &&
            WildcardPattern(item->resval.rstring, true).matches(application)) {
            return true;
        }
    }
    return false;
}

resbuf* entityData(const ads_name name, const resbuf* applications) {
    const AcDbObjectId id = objectIdOfName(name);
    if (id.isNull() || id.isErased() || id.database() == nullptr) {
        return nullptr;
    }
    const AcDbDatabase& database = *id.database();
    const AcDbObject* object = database.peekObject(id);
    if (object == nullptr) {
        return nullptr;
    }
    dxf::TagCollector collector;
    db::TextContext context(database.textCodec());
    db::writeObjectTags(*object, collector, context, database.version(), false);
    const std::vector<dxf::OwnedTag>& tags = collector.tags();

    ChainBuilder chain;
    resbuf* nameBuffer = acutNewRb(-1);
    acdbGetAdsName(nameBuffer->resval.rlname, id);
    chain.append(nameBuffer);
    std::wstring scratch;
    chain.append(acutBuildList(RTDXF0, entityTypeName(*object, scratch).c_str(), 0));
    // Group 0 in a data list is RTDXF0's value under its own code.
    for (resbuf* item = nameBuffer->rbnext; item != nullptr; item = item->rbnext) {
        item->restype = 0;
    }

    std::size_t index = appendMainGroups(chain, database, *object, tags);
    if (applications != nullptr && index < tags.size()) {
        ChainBuilder extended;
        bool wanted = false;
        bool any = false;
        while (index < tags.size()) {
            if (tags[index].code == 1001) {
                wanted = applicationWanted(database.textCodec().decode(tags[index].text), applications);
            }
            if (wanted) {
                index = appendTag(extended, database, tags, index);
                any = true;
            } else {
                ++index;
            }
        }
        if (any) {
            chain.append(acutNewRb(-3));
            chain.append(extended.release());
        }
    }
    return chain.release();
}

} // namespace

AcDbObjectId objectIdOfName(const ads_name name) {
    if (name == nullptr || name[1] != kEntityNameTag || name[0] == 0) {
        return {};
    }
    AcDbObjectId id;
    id.setFromOldId(name[0]);
    return id;
}

} // namespace cad::ed

Acad::ErrorStatus acdbGetAdsName(ads_name name, AcDbObjectId id) {
    if (name == nullptr) {
        return Acad::eInvalidInput;
    }
    if (id.isNull()) {
        name[0] = 0;
        name[1] = 0;
        return Acad::eNullObjectId;
    }
    name[0] = id.asOldId();
    name[1] = cad::ed::kEntityNameTag;
    return Acad::eOk;
}

Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& id, const ads_name name) {
    id = cad::ed::objectIdOfName(name);
    return id.isNull() ? Acad::eInvalidAdsName : Acad::eOk;
}

resbuf* acdbEntGet(const ads_name entity) {
    return cad::ed::entityData(entity, nullptr);
}

resbuf* acdbEntGetX(const ads_name entity, const resbuf* applications) {
    return cad::ed::entityData(entity, applications);
}

int acdbEntDel(const ads_name entity) {
    const AcDbObjectId id = cad::ed::objectIdOfName(entity);
    if (id.isNull()) {
        return RTERROR;
    }
    AcDbObject* object = nullptr;
    const bool erased = id.isErased();
    if (cad::db::openObject(object, id, AcDb::kForWrite, true) != Acad::eOk) {
        return RTERROR;
    }
    const Acad::ErrorStatus status = object->erase(!erased);
    object->close();
    return status == Acad::eOk ? RTNORM : RTERROR;
}

Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& object, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased) {
    return cad::db::openObject(object, id, mode, openErased);
}

Acad::ErrorStatus acdbOpenAcDbEntity(AcDbEntity*& entity, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased) {
    return cad::db::openObjectAs(entity, id, mode, openErased);
}
