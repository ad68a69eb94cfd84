// The drawing of the edit and grouping tests (tests/data/actions/edit_kinds.dxf: one entity of every
// kind on its own layer, and the group "门窗" holding the line on layer A and the arc) made the host's
// working drawing, with the command line, message boxes and preferences of the test captured.
#pragma once

#include "cad/app/host_api.h"
#include "platform/message_box.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <unistd.h>

namespace actiontest {

inline std::filesystem::path editKindsPath() {
    return std::filesystem::path(QUELTO_SOURCE_DIR) / "tests/data/actions/edit_kinds.dxf";
}

// Preferences of the test in an empty registry of its own, never the user's.
class ScopedRegistry {
public:
    ScopedRegistry()
        : m_folder(std::filesystem::temp_directory_path() /
                   ("quelto_actions_registry_" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(m_folder);
        ::setenv("QUELTO_REGISTRY_DIR", m_folder.c_str(), 1);
    }
    ~ScopedRegistry() {
        ::unsetenv("QUELTO_REGISTRY_DIR");
        std::filesystem::remove_all(m_folder);
    }
    ScopedRegistry(const ScopedRegistry&) = delete;
    ScopedRegistry& operator=(const ScopedRegistry&) = delete;

private:
    std::filesystem::path m_folder;
};

class EditDrawing : public testing::Test {
protected:
    void SetUp() override { reload(); }
    void TearDown() override { cad::ed::setCurrentEditor(nullptr); }
    // A fresh copy of the drawing as the working drawing.
    void reload() {
        m_drawing = std::make_unique<AcDbDatabase>(false);
        cad::dxf::TagError error;
        ASSERT_TRUE(m_drawing->readDxf(editKindsPath(), error)) << error.message;
        m_editor.database = m_drawing.get();
        cad::ed::setCurrentEditor(&m_editor);
    }
    AcDbDatabase& database() const { return *m_drawing; }
    // The first live model-space entity of the kind on the layer (any layer when empty).
    AcDbObjectId find(const std::string& kind, const std::wstring& layer = {}) const {
        const auto* model = AcDbBlockTableRecord::cast(database().peekObject(database().modelSpaceId()));
        for (const AcDbObjectId& id : model->entityIds()) {
            const auto* entity = AcDbEntity::cast(database().peekObject(id));
            if (entity != nullptr && entity->dxfName() == kind &&
                (layer.empty() || entity->layerName() == layer)) {
                return id;
            }
        }
        return {};
    }
    template <class T>
    const T* peek(AcDbObjectId id) const {
        return T::cast(database().peekObject(id));
    }
    std::size_t liveModelEntities() const {
        std::size_t count = 0;
        const auto* model = AcDbBlockTableRecord::cast(database().peekObject(database().modelSpaceId()));
        for (const AcDbObjectId& id : model->entityIds()) {
            count += database().peekObject(id) != nullptr ? 1 : 0;
        }
        return count;
    }

    std::unique_ptr<AcDbDatabase> m_drawing;
    cad::ed::EditorState m_editor;
    cad::ed::QueuedCommandLine m_output;
    cad::ed::ScopedCommandLine m_outputScope{m_output};
    platform::QueuedMessageBoxService m_boxes;
    platform::ScopedMessageBoxService m_boxScope{m_boxes};
    ScopedRegistry m_registry;
};

} // namespace actiontest
