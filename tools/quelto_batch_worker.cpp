// Running one drawing in quelto-batch: the drawing opens as the current document of the host, the
// frames are found in its model space, and the module gets the request record through its exported
// function. Nobody sits at the command line: prompts read Esc, and a message box the module shows is
// answered with its safe button and reported as the drawing's error.

#include "tools/quelto_batch_worker.h"

#include "cad/app/command_processor.h"
#include "cad/app/document_manager.h"
#include "cad/app/module_manager.h"
#include "cad/db/curve_entities.h"
#include "cad/db/other_entities.h"
#include "cad/db/symbol_tables.h"
#include "cad/ed/command_line.h"
#include "cad/ed/entity_access.h"
#include "cad/ge/extents.h"
#include "platform/code_page.h"
#include "platform/message_box.h"
#include "platform/wide_text.h"

#include <cmath>
#include <dlfcn.h>
#include <filesystem>
#include <functional>

namespace quelto::batch {
namespace {

// Boxes are answered without anyone there: OK for a notice, No or Cancel for a question. Every box is
// kept so that the drawing's result says what the module complained about.
class UnattendedMessageBoxes final : public platform::MessageBoxService {
public:
    int show(const platform::MessageBoxRequest& request) override {
        m_shown.push_back(request);
        switch (request.buttons()) {
        case MB_YESNO:
            return IDNO;
        case MB_OKCANCEL:
        case MB_YESNOCANCEL:
            return IDCANCEL;
        default:
            return IDOK;
        }
    }
    const std::vector<platform::MessageBoxRequest>& shown() const { return m_shown; }

private:
    std::vector<platform::MessageBoxRequest> m_shown;
};

bool sameNameIgnoringCase(const std::wstring& name, const std::wstring& wanted) {
    return platform::toUpperAscii(name) == platform::toUpperAscii(wanted);
}

void forEachModelSpaceEntity(const AcDbDatabase& database,
                             const std::function<void(const AcDbEntity&)>& visit) {
    AcDbBlockTableRecord* modelSpace = nullptr;
    if (acdbOpenObject(modelSpace, database.modelSpaceId(), AcDb::kForRead) != Acad::eOk) {
        return;
    }
    const std::vector<AcDbObjectId> ids = modelSpace->entityIds();
    modelSpace->close();
    for (const AcDbObjectId& id : ids) {
        AcDbEntity* entity = nullptr;
        if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk) {
            continue;
        }
        visit(*entity);
        entity->close();
    }
}

// The window of a closed four-vertex polyline whose sides are parallel to the axes.
std::optional<Frame> rectangleFrame(const AcDbPolyline& polyline) {
    if (!polyline.isClosed() || polyline.numVerts() != 4) {
        return std::nullopt;
    }
    AcGePoint3d corners[4];
    for (unsigned int index = 0; index < 4; ++index) {
        double bulge = 0.0;
        polyline.getBulgeAt(index, bulge);
        if (polyline.getPointAt(index, corners[index]) != Acad::eOk || bulge != 0.0) {
            return std::nullopt;
        }
    }
    const double tolerance = 1e-9 * std::max({1.0, std::abs(corners[0].x), std::abs(corners[0].y),
                                              std::abs(corners[2].x), std::abs(corners[2].y)});
    const auto same = [tolerance](double first, double second) {
        return std::abs(first - second) <= tolerance;
    };
    for (unsigned int index = 0; index < 4; ++index) {
        const AcGePoint3d& from = corners[index];
        const AcGePoint3d& to = corners[(index + 1) % 4];
        if (!same(from.x, to.x) && !same(from.y, to.y)) {
            return std::nullopt;
        }
    }
    if (same(corners[0].x, corners[2].x) || same(corners[0].y, corners[2].y)) {
        return std::nullopt;
    }
    return Frame{corners[0], corners[2]};
}

void collectFrames(const BatchOptions& options, const AcDbDatabase& database, DrawingResult& result) {
    switch (options.frameSource) {
    case FrameSource::WholeDrawing:
        return;
    case FrameSource::Listed:
        result.frames = options.frames;
        return;
    case FrameSource::Layer:
        result.frames = framesOnLayer(database, options.framesLayer);
        return;
    case FrameSource::Block:
        result.frames = framesOfBlock(database, options.framesBlock);
        return;
    }
}

std::string messageBoxError(const std::vector<platform::MessageBoxRequest>& shown) {
    std::string error = "the module showed a message:";
    for (const platform::MessageBoxRequest& box : shown) {
        error += " [" + platform::wideToUtf8(box.caption) + "] " + platform::wideToUtf8(box.text);
    }
    return error;
}

void callModule(const ModuleEntry& module, DrawingResult& result) {
    std::vector<double> firstCorners;
    std::vector<double> secondCorners;
    for (const Frame& frame : result.frames) {
        firstCorners.insert(firstCorners.end(), {frame.first.x, frame.first.y, frame.first.z});
        secondCorners.insert(secondCorners.end(), {frame.second.x, frame.second.y, frame.second.z});
    }
    const auto frameCount = static_cast<std::int32_t>(result.frames.size());
    KVB_BATCH_REQUEST request{};
    request.version = KVB_INTERFACE_VERSION;
    request.firstCorners = {firstCorners.data(), frameCount, frameCount, 8};
    request.secondCorners = {secondCorners.data(), frameCount, frameCount, 8};

    char* text = nullptr;
    std::int32_t success = 0;
    result.returned = module.onCommandMessage(result.perFrame ? KVB_COUNT_PER_FRAME : KVB_COUNT_WHOLE_DRAWING,
                                              &request, &text, &success);
    result.success = success;
    if (text != nullptr) {
        result.text = platform::wideToUtf8(platform::decodeBytes(text, platform::systemCodeSet()));
        module.releaseText(text);
    }
    if (const std::optional<std::vector<long>> counts = countsOfResultText(result.text, result.perFrame)) {
        result.counts = *counts;
    }
}

} // namespace

std::optional<ModuleEntry> loadBatchModule(const std::string& path, std::string& error) {
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* reason = dlerror();
        error = "cannot load the module " + path + ": " + (reason != nullptr ? reason : "unknown reason");
        return std::nullopt;
    }
    if (dlsym(library, "acrxEntryPoint") != nullptr) {
        if (const std::optional<std::string> refused = cad::app::ModuleManager::instance().load(path)) {
            error = *refused;
            dlclose(library);
            return std::nullopt;
        }
    }
    ModuleEntry entry;
    entry.onCommandMessage =
        reinterpret_cast<KVB_OnCommandMessageFunction>(dlsym(library, "KVB_OnCommandMessage"));
    entry.releaseText = reinterpret_cast<KVB_ReleaseTextFunction>(dlsym(library, "KVB_ReleaseText"));
    if (entry.onCommandMessage == nullptr || entry.releaseText == nullptr) {
        error = "cannot use the module " + path + ": it exports no " +
                (entry.onCommandMessage == nullptr ? "KVB_OnCommandMessage" : "KVB_ReleaseText");
        dlclose(library);
        return std::nullopt;
    }
    // The library stays loaded for the life of the process, like a module in a running host.
    return entry;
}

std::vector<Frame> framesOnLayer(const AcDbDatabase& database, const std::string& layer) {
    const std::wstring wanted = platform::utf8ToWide(layer);
    std::vector<Frame> frames;
    forEachModelSpaceEntity(database, [&](const AcDbEntity& entity) {
        const AcDbPolyline* polyline = AcDbPolyline::cast(&entity);
        if (polyline == nullptr || !sameNameIgnoringCase(entity.layer(), wanted)) {
            return;
        }
        if (const std::optional<Frame> frame = rectangleFrame(*polyline)) {
            frames.push_back(*frame);
        }
    });
    return frames;
}

std::vector<Frame> framesOfBlock(const AcDbDatabase& database, const std::string& block) {
    const std::wstring wanted = platform::utf8ToWide(block);
    std::vector<Frame> frames;
    forEachModelSpaceEntity(database, [&](const AcDbEntity& entity) {
        const AcDbBlockReference* reference = AcDbBlockReference::cast(&entity);
        AcDbExtents extents;
        if (reference == nullptr || !sameNameIgnoringCase(reference->blockName(), wanted) ||
            reference->getGeomExtents(extents) != Acad::eOk) {
            return;
        }
        frames.push_back({extents.minPoint(), extents.maxPoint()});
    });
    return frames;
}

DrawingResult processDrawing(const BatchOptions& options, const std::string& path,
                             const ModuleEntry& module) {
    DrawingResult result;
    result.path = path;
    result.perFrame = options.frameSource != FrameSource::WholeDrawing;

    cad::ed::QueuedCommandLine commandLine;
    const cad::ed::ScopedCommandLine commandLineScope(commandLine);
    UnattendedMessageBoxes messageBoxes;
    const platform::ScopedMessageBoxService messageBoxScope(messageBoxes);

    std::error_code ignored;
    if (!std::filesystem::is_regular_file(path, ignored)) {
        result.error = "cannot open the drawing: no such file";
        return result;
    }
    std::string error;
    AcApDocument* document = acDocManager->openDocument(path, error);
    if (document == nullptr) {
        result.error = "cannot read the drawing: " + error;
        return result;
    }
    collectFrames(options, *document->database(), result);
    callModule(module, result);
    if (!messageBoxes.shown().empty()) {
        result.error = messageBoxError(messageBoxes.shown());
    }
    return result;
}

} // namespace quelto::batch
