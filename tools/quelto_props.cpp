// quelto-props: lists entities of a drawing with the property values the quick-select property page
// would show for them, read by the module's catalogue under the user's settings (user coordinates,
// degrees or radians). It is how a user checks what value a criterion will see.
// Usage: quelto-props DRAWING [HANDLE...]   (UTF-8 out; exit 2 missing drawing, 3 unreadable, 1 bad handle)

#include "cad/app/host_api.h"
#include "platform/code_page.h"
#include "quelto/catalogue/info_map_list.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

const char* const kUsage =
    "usage: quelto-props DRAWING [HANDLE...]\n"
    "  Prints each entity (all of model space when no handle is given) as its handle and\n"
    "  type, then every property of its type as \"名称 = 值\", one per line.\n";

void writeLine(const std::wstring& line) {
    const std::string bytes = platform::wideToUtf8(line);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fputc('\n', stdout);
}

// Control characters (a line break in a text, say) are shown as DXF writes them, "^J", so that every
// value stays on its line.
std::wstring printable(const std::wstring& value) {
    std::wstring shown;
    for (const wchar_t character : value) {
        if (character >= 0 && character < 0x20) {
            shown += L'^';
            shown += static_cast<wchar_t>(character + 0x40);
        } else {
            shown += character;
        }
    }
    return shown;
}

void listEntity(CInfoMapList& catalogue, AcDbObjectId id, const std::wstring& handle) {
    const CString dxfName = CInfoMapList::GetEntityDxfName(id);
    const CString displayName = catalogue.GetDisplayName(dxfName);
    EntityInfo* info = catalogue.GetEntityInfo(dxfName, TRUE);
    if (displayName.empty() || info == nullptr) {
        writeLine(handle + L" " + dxfName);
        return;
    }
    // A value the entity does not give stays empty rather than showing the previous entity's.
    for (EntityProp& property : info->props) {
        property.value.clear();
    }
    catalogue.ReadEntity(id);
    writeLine(handle + L" " + displayName);
    for (const EntityProp& property : info->props) {
        writeLine(L"  " + property.name + L" = " + printable(property.value));
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h") {
        std::fputs(kUsage, argc < 2 ? stderr : stdout);
        return argc < 2 ? 1 : 0;
    }
    const std::filesystem::path path = argv[1];
    if (!std::filesystem::is_regular_file(path)) {
        std::fprintf(stderr, "quelto-props: %s: no such drawing\n", argv[1]);
        return 2;
    }
    AcDbDatabase database(false);
    cad::dxf::TagError error;
    if (!database.readDxf(path, error)) {
        std::fprintf(stderr, "quelto-props: %s\n", error.toString().c_str());
        return 3;
    }
    cad::ed::EditorState editor;
    editor.database = &database;
    cad::ed::setCurrentEditor(&editor);

    CInfoMapList catalogue;
    int status = 0;
    if (argc == 2) {
        AcDbBlockTableRecord* model = nullptr;
        if (acdbOpenObject(model, database.modelSpaceId(), AcDb::kForRead) == Acad::eOk) {
            const std::vector<AcDbObjectId> entities = model->entityIds();
            model->close();
            for (const AcDbObjectId& id : entities) {
                if (!id.isErased()) {
                    listEntity(catalogue, id, id.handle().toWideHex());
                }
            }
        }
    }
    for (int index = 2; index < argc; ++index) {
        AcDbHandle handle;
        const AcDbObjectId id =
            AcDbHandle::parseHex(argv[index], handle) ? database.objectIdOf(handle) : AcDbObjectId();
        AcDbEntity* entity = nullptr;
        if (id.isNull() || acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk) {
            std::fprintf(stderr, "quelto-props: %s: no entity with this handle in %s\n", argv[index],
                         argv[1]);
            status = 1;
            continue;
        }
        entity->close();
        listEntity(catalogue, id, handle.toWideHex());
    }
    cad::ed::setCurrentEditor(nullptr);
    return status;
}
