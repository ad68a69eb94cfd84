// The DXF data list of an object: written through the object's table and plan into a collector, then
// texts re-encoded as UTF-8 and handle groups resolved to object ids.
#include "cad/db/entity_data.h"

#include "cad/db/database.h"
#include "cad/db/object_io.h"
#include "cad/dxf/tag_writer.h"
#include "platform/code_page.h"

namespace cad::db {

bool isHandleReferenceCode(int code) noexcept {
    return (code >= 320 && code <= 369) || (code >= 390 && code <= 399) || code == 480 || code == 481 ||
           code == 1005;
}

std::vector<DataTag> objectDataList(const AcDbObject& object) {
    const AcDbDatabase* database = object.database();
    const dxf::TextCodec codec = database != nullptr ? database->textCodec() : dxf::TextCodec::utf8();
    TextContext context(codec);
    dxf::TagCollector collector;
    writeObjectTags(object, collector, context, database != nullptr ? database->version() : kVersionR2000);

    std::vector<DataTag> list;
    list.reserve(collector.tags().size() + 1);
    DataTag name;
    name.tag.code = -1;
    name.tag.type = dxf::ValueType::String;
    name.tag.text = object.handle().toHex();
    name.id = object.objectId();
    list.push_back(std::move(name));
    for (const dxf::OwnedTag& tag : collector.tags()) {
        DataTag item;
        item.tag = tag;
        if (tag.type == dxf::ValueType::String) {
            item.tag.text = platform::wideToUtf8(codec.decode(tag.text));
        }
        if (database != nullptr && isHandleReferenceCode(tag.code)) {
            AcDbHandle handle;
            if (AcDbHandle::parseHex(tag.text, handle)) {
                item.id = database->objectIdOf(handle);
            }
        }
        list.push_back(std::move(item));
    }
    return list;
}

} // namespace cad::db
