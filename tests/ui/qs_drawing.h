// The drawing of the QS tests, opened as the host's current document with private settings, a queued
// command line and queued message boxes: three lines, a circle and two dimensions of different kinds.
// Its layers are defined, as a CAD program writes them: the layer list of the dialog shows the table.
//   1A line on WALL, colour 1, lineweight 25, (0,0)-(10,0)     1B line on WALL, colour 5, lineweight 50
//   1C line on 0, by layer                                  2A circle on WALL, colour 3
//   3A aligned dimension (70 = 33) on DIM                   3B rotated dimension (70 = 32) on DIM
#pragma once

#include "cad/app/host_api.h"
#include "platform/code_page.h"
#include "platform/known_folders.h"
#include "platform/message_box.h"
#include "support/test_support.h"
#include "tests/matching/matching_drawing.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <set>
#include <string>

namespace qs_test {

inline const char* const kDrawing =
    "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n70\n3\n"
    "0\nLAYER\n2\n0\n70\n0\n62\n7\n6\nCONTINUOUS\n"
    "0\nLAYER\n2\nWALL\n70\n0\n62\n7\n6\nCONTINUOUS\n"
    "0\nLAYER\n2\nDIM\n70\n0\n62\n7\n6\nCONTINUOUS\n"
    "0\nENDTAB\n0\nENDSEC\n"
    "0\nSECTION\n2\nENTITIES\n"
    "0\nDIMENSION\n5\n3A\n8\nDIM\n70\n33\n10\n100\n20\n120\n13\n100\n23\n120\n14\n110\n24\n120\n"
    "0\nDIMENSION\n5\n3B\n8\nDIM\n70\n32\n10\n100\n20\n125\n13\n100\n23\n125\n14\n110\n24\n125\n"
    "0\nLINE\n5\n1A\n8\nWALL\n62\n1\n370\n25\n10\n0\n20\n0\n11\n10\n21\n0\n"
    "0\nLINE\n5\n1B\n8\nWALL\n62\n5\n370\n50\n10\n0\n20\n5\n11\n10\n21\n5\n"
    "0\nLINE\n5\n1C\n8\n0\n10\n0\n20\n10\n11\n10\n21\n10\n"
    "0\nCIRCLE\n5\n2A\n8\nWALL\n62\n3\n10\n30\n20\n0\n40\n2\n"
    "0\nENDSEC\n0\nEOF\n";

using Handles = std::set<std::wstring>;

// The settings and the configuration file in a folder of one test; the folders of the test program
// (ui_test_main) are restored afterwards, so later suites of the program keep theirs.
class ScopedSettingsFolder {
public:
    ScopedSettingsFolder() {
        for (const char* name : kVariables) {
            const char* value = std::getenv(name);
            m_previous.emplace_back(value != nullptr ? std::optional<std::string>(value) : std::nullopt);
            ::setenv(name, m_folder.path().c_str(), 1);
        }
        std::filesystem::create_directories(m_folder.path() / "Tarnwell" / "Quelto");
    }
    ~ScopedSettingsFolder() {
        for (std::size_t index = 0; index < std::size(kVariables); ++index) {
            if (m_previous[index]) {
                ::setenv(kVariables[index], m_previous[index]->c_str(), 1);
            } else {
                ::unsetenv(kVariables[index]);
            }
        }
    }
    const std::filesystem::path& folder() const { return m_folder.path(); }

private:
    static constexpr const char* kVariables[] = {"QUELTO_REGISTRY_DIR", "QUELTO_COMMON_APPDATA"};
    quelto::testing::TemporaryFolder m_folder;
    std::vector<std::optional<std::string>> m_previous;
};

inline Handles handlesOf(const ads_name set) {
    Handles handles;
    for (const AcDbObjectId& id : matching_test::setMembers(set)) {
        handles.insert(id.handle().toWideHex());
    }
    return handles;
}

class QsDrawing : public testing::Test {
protected:
    void SetUp() override {
        const std::filesystem::path file = m_settings.folder() / "qs.dxf";
        std::ofstream(file, std::ios::binary) << kDrawing;
        std::string error;
        ASSERT_NE(acDocManager->openDocument(file, error), nullptr) << error;
    }
    void TearDown() override { acDocManager->closeAll(); }

    AcDbObjectId idOf(const wchar_t* handle) const {
        AcDbObjectId id;
        curDoc()->database()->getAcDbObjectId(id, false, AcDbHandle(handle));
        return id;
    }
    // The pick-first set as handles.
    static Handles pickFirst() {
        resbuf* first = nullptr;
        acedSSGetFirst(nullptr, &first);
        Handles handles;
        if (first != nullptr && first->restype == RTPICKS) {
            handles = handlesOf(first->resval.rlname);
            acedSSFree(first->resval.rlname);
        }
        acutRelRb(first);
        return handles;
    }
    void setPickFirst(const std::vector<const wchar_t*>& handles) {
        ads_name set = {0, 0};
        acedSSAdd(nullptr, nullptr, set);
        for (const wchar_t* handle : handles) {
            ads_name entity;
            acdbGetAdsName(entity, idOf(handle));
            acedSSAdd(entity, set, set);
        }
        acedSSSetFirst(set, nullptr);
        acedSSFree(set);
    }

    ScopedSettingsFolder m_settings;
    cad::ed::QueuedCommandLine m_commandLine;
    cad::ed::ScopedCommandLine m_commandLineScope{m_commandLine};
    platform::QueuedMessageBoxService m_messageBoxes;
    platform::ScopedMessageBoxService m_messageBoxScope{m_messageBoxes};
};

} // namespace qs_test
