// Registration of right-click menu extensions. A context may be registered once per menu (and once per
// class for object menus); removing it takes it out of every place it was registered for that menu.

#include "cad/app/context_menu.h"

#include <algorithm>

namespace {

std::vector<cad::app::ContextMenuEntry>& entries() {
    static std::vector<cad::app::ContextMenuEntry> registered;
    return registered;
}

bool isRegistered(AcEdUIContext* context, AcRxClass* objectClass) {
    return std::any_of(entries().begin(), entries().end(), [&](const cad::app::ContextMenuEntry& entry) {
        return entry.context == context && entry.objectClass == objectClass;
    });
}

bool removeEntries(AcEdUIContext* context, AcRxClass* objectClass) {
    return std::erase_if(entries(), [&](const cad::app::ContextMenuEntry& entry) {
               return entry.context == context && entry.objectClass == objectClass;
           }) > 0;
}

} // namespace

AcEdUIContext::~AcEdUIContext() = default;

bool acedAddDefaultContextMenu(AcEdUIContext* context, const void* appId, const wchar_t* appName) {
    if (context == nullptr || isRegistered(context, nullptr)) {
        return false;
    }
    entries().push_back({context, appId, appName != nullptr ? appName : L"", nullptr});
    return true;
}

bool acedRemoveDefaultContextMenu(AcEdUIContext* context) {
    return removeEntries(context, nullptr);
}

bool acedAddObjectContextMenu(AcRxClass* objectClass, AcEdUIContext* context, const void* appId) {
    if (context == nullptr || objectClass == nullptr || isRegistered(context, objectClass)) {
        return false;
    }
    entries().push_back({context, appId, L"", objectClass});
    return true;
}

bool acedRemoveObjectContextMenu(AcRxClass* objectClass, AcEdUIContext* context) {
    return objectClass != nullptr && removeEntries(context, objectClass);
}

namespace cad::app {

std::vector<ContextMenuEntry> applicableContextMenus(const AcRxClass* selectionClass) {
    std::vector<ContextMenuEntry> result;
    for (const ContextMenuEntry& entry : entries()) {
        const bool applies = selectionClass == nullptr ? entry.objectClass == nullptr
                                                       : entry.objectClass != nullptr &&
                                                             selectionClass->isDerivedFrom(entry.objectClass);
        if (applies) {
            result.push_back(entry);
        }
    }
    return result;
}

std::size_t registeredContextMenuCount() {
    return entries().size();
}

} // namespace cad::app
