// The main dialog's configuration list without widgets: which item opens selected, which menu entries
// apply to an item, new / overwrite / delete in memory, and OK's steps (the record saved from the pages,
// "<上一次配制>", the file, the stored preselection and grouping). The pages are reached through a
// callback so that these rules are tested on their own.
#pragma once

#include "platform/mfc_types.h"
#include "quelto/filter/filter_cfg_file.h"

#include <functional>

class CSelEntConfigurations {
public:
    // Writes the pages into a record; false when a page refused (it has shown its message).
    using SavePages = std::function<bool(CFilter&)>;

    // The three reserved records lead the list; they are never overwritten or deleted from the menu.
    static constexpr int ReservedCount = 3;
    static constexpr int TemplatePosition = 0;
    static constexpr int LastPosition = 1;

    // Reads the file; 0 when it is of a newer version (the list then holds the reserved records only).
    int Load();
    CStringArray Names() const;
    int Count() const { return static_cast<int>(m_file.m_arrFilter.size()); }
    CFilter& At(int position) { return m_file.m_arrFilter[static_cast<std::size_t>(position)]; }
    CFilterCfgFile& File() { return m_file; }

    // "<上一次配制>" when no template was used and NoTempLast asks for it, else "<本次模板>".
    static int InitialPosition(bool usedTemplate, bool noTempLast);
    // "保存配制" and "删除配制" apply to user configurations only.
    static bool CanOverwriteOrDelete(int position) { return position >= ReservedCount; }

    // "新建配制" with the name: an existing configuration of that name (exact, first match) is reset and
    // saved over, otherwise a new one is appended. Answers its position, and whether it was appended.
    struct NewResult {
        int position = -1;
        bool appended = false;
    };
    NewResult SaveAsNew(const CString& name, const SavePages& savePages);
    // "保存配制" after its confirmation: the configuration reset and saved over.
    bool Overwrite(int position, const SavePages& savePages);
    // "删除配制" after its confirmation.
    void Remove(int position);

    // OK: `working` reset and saved from the pages, copied without its name into "<上一次配制>", the file
    // written, the preselection and grouping stored as settings. False when a page refused.
    bool Accept(CFilter& working, const SavePages& savePages);

private:
    CFilterCfgFile m_file;
};
