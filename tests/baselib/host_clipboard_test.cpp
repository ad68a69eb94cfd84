// The base library's clipboard functions reach the host's clipboard service when nothing else is
// installed, and answer "no clipboard" while the host has none (the console host).
#include "platform/clipboard.h"
#include "quelto/baselib/zeb_string.h"

#include <gtest/gtest.h>
#include <optional>

namespace {

class MemoryClipboard final : public platform::ClipboardService {
public:
    bool readText(std::wstring& text) override {
        if (!m_text) {
            return false;
        }
        text = *m_text;
        return true;
    }
    bool writeText(const std::wstring& text) override {
        m_text = text;
        return true;
    }
    std::optional<std::wstring> m_text;
};

} // namespace

TEST(HostClipboard, BaseLibraryUsesTheHostServiceAndNothingWithoutOne) {
    CString text = L"unchanged";
    ASSERT_EQ(platform::clipboardService(), nullptr);
    EXPECT_EQ(CZEBString::GetClipText(text), FALSE);
    EXPECT_EQ(CZEBString::SetClipText(L"x"), FALSE);
    EXPECT_EQ(text, L"unchanged");

    MemoryClipboard host;
    const platform::ScopedClipboardService scope(host);
    EXPECT_EQ(CZEBString::GetClipText(text), FALSE) << "the host's clipboard holds no text yet";
    EXPECT_EQ(CZEBString::SetClipText(L"梁 KL1"), TRUE);
    EXPECT_EQ(host.m_text, L"梁 KL1");
    host.m_text = L"柱 KZ2";
    EXPECT_EQ(CZEBString::GetClipText(text), TRUE);
    EXPECT_EQ(text, L"柱 KZ2");
}
