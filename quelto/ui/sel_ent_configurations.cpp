// The configuration list's rules of the main dialog, over the configuration file and the settings.
#include "quelto/ui/sel_ent_configurations.h"

#include "quelto/filter/qlt_system_param.h"

int CSelEntConfigurations::Load() {
    return m_file.ReadCfgFile();
}

CStringArray CSelEntConfigurations::Names() const {
    CStringArray names;
    for (const CFilter& record : m_file.m_arrFilter) {
        names.push_back(record.m_strName);
    }
    return names;
}

int CSelEntConfigurations::InitialPosition(bool usedTemplate, bool noTempLast) {
    return !usedTemplate && noTempLast ? LastPosition : TemplatePosition;
}

CSelEntConfigurations::NewResult CSelEntConfigurations::SaveAsNew(const CString& name,
                                                                  const SavePages& savePages) {
    const int existing = m_file.FindFilter(name);
    if (existing >= 0) {
        Overwrite(existing, savePages);
        return {existing, false};
    }
    CFilter record;
    savePages(record);
    record.m_strName = name;
    m_file.m_arrFilter.push_back(record);
    return {Count() - 1, true};
}

bool CSelEntConfigurations::Overwrite(int position, const SavePages& savePages) {
    CFilter& record = At(position);
    record.Reset();
    return savePages(record);
}

void CSelEntConfigurations::Remove(int position) {
    m_file.m_arrFilter.erase(m_file.m_arrFilter.begin() + position);
}

bool CSelEntConfigurations::Accept(CFilter& working, const SavePages& savePages) {
    working.Reset();
    if (!savePages(working)) {
        return false;
    }
    At(LastPosition).CopyFrom(working, FALSE);
    m_file.WriteCfgFile();
    CQLTSystemParam settings;
    settings.SetSelectFromAll(working.m_bSelectFromAll);
    settings.SetGroupOperator(working.m_nGroupMode);
    settings.SetGroupName(working.m_strGroupName);
    return true;
}
