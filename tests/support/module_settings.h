// The quick-select module's integer settings written straight into the current user's registry store,
// for tests that load the real module and so cannot call its accessors. InitShow sits under the product
// key, every other setting under its "SystemParam" key.
#pragma once

#include "platform/registry_store.h"

#include <gtest/gtest.h>
#include <string>

namespace quelto::testing {

inline void writeModuleSetting(const wchar_t* name, DWORD value) {
    const std::wstring product = L"SOFTWARE\\翠岭轩工作室\\翠岭轩快速选择系统";
    const std::wstring key =
        std::wstring(name) == L"InitShow" ? product : product + L"\\ZEBSoftProf\\SystemParam";
    platform::RegistryStore user(platform::RegistryRoot::CurrentUser);
    EXPECT_EQ(user.writeValue(key, name, platform::RegistryValue::dword(value), true),
              platform::RegistryStore::WriteStatus::Written)
        << user.lastProblem();
}

} // namespace quelto::testing
