// Definition files laid out byte by byte: every text-length form, 8-bit texts, file and data versions,
// record versions other than 1, damaged files, the exact bytes our writer puts, and where the files live.

#include "customentity_test_support.h"
#include "platform/code_page.h"
#include "platform/message_box.h"
#include "quelto/customentity/freedom_entity_file.h"
#include "quelto/customentity/freedom_entity_mangage.h"

#include <gtest/gtest.h>

using customentity_test::DomLayout;
using customentity_test::IsolatedSettings;
using customentity_test::LengthForm;

namespace {

// A property body of version 1: name, kind, two notes, group code, items.
DomLayout& property(DomLayout& layout, const std::u16string& name, int kind, int groupCode,
                    std::initializer_list<std::u16string> items = {}) {
    layout.integer(1).text(name).integer(kind).text(u"").text(u"").integer(groupCode);
    layout.integer(static_cast<int>(items.size()));
    for (const std::u16string& item : items) {
        layout.text(item);
    }
    return layout;
}

// A version-1 file with one entity "管道" of class PIPE and one property "位置" at group code 10.
std::string onePipeFile(int fileVersion = 1, int dataVersion = 1) {
    DomLayout layout;
    layout.integer(fileVersion).integer(dataVersion).text(u"管道软件").text(u"").text(u"").integer(1);
    layout.integer(1).text(u"管道").text(u"PIPE").text(u"").integer(1);
    property(layout, u"位置", 1, 10);
    return layout.bytes();
}

TEST(CFreedomEntityFile, ReadsTheThreeTextLengthFormsAndEightBitTexts) {
    ::setenv("QUELTO_SYSTEM_CODESET", "GBK", 1);
    const std::u16string longNote(300, u'注');       // needs the 16-bit length
    const std::u16string veryLongNote(70000, u'长'); // needs the 32-bit length
    DomLayout layout;
    layout.integer(1).integer(1).text(u"软件", LengthForm::FourBytes).text(longNote, LengthForm::TwoBytes);
    layout.text(veryLongNote, LengthForm::FourBytes).integer(1);
    // An entity whose texts are 8-bit GBK bytes ("管道" and "阀门"), in each length form.
    layout.integer(1).narrowText("\xB9\xDC\xB5\xC0").narrowText("VALVE", LengthForm::TwoBytes);
    layout.narrowText("\xB7\xA7\xC3\xC5", LengthForm::FourBytes).integer(1);
    layout.integer(1).narrowText("DN").integer(4).narrowText("").narrowText("").integer(70).integer(2);
    layout.narrowText("1=\xBA\xEC").text(u"2=黄", LengthForm::TwoBytes);

    CFreedomEntityFile file;
    const CFreedomReadResult result = file.ReadBytes(layout.bytes());
    ::unsetenv("QUELTO_SYSTEM_CODESET");
    ASSERT_EQ(result.status, CFreedomReadResult::Read) << platform::wideToUtf8(result.reason);
    EXPECT_EQ(file.softName, L"软件");
    EXPECT_EQ(file.fileNote, CString(300, L'注'));
    EXPECT_EQ(file.fileNote2, CString(70000, L'长'));
    ASSERT_EQ(file.entities.size(), 1u);
    const CFreedomEntity& entity = file.entities[0];
    EXPECT_EQ(entity.displayName, L"管道");
    EXPECT_EQ(entity.className, L"VALVE");
    EXPECT_EQ(entity.entityNote, L"阀门");
    ASSERT_EQ(entity.props.size(), 1u);
    EXPECT_EQ(entity.props[0].name, L"DN");
    EXPECT_EQ(entity.props[0].kind, 4);
    EXPECT_EQ(entity.props[0].groupCode, 70);
    EXPECT_EQ(entity.props[0].items, (CStringArray{L"1=红", L"2=黄"}));
    EXPECT_EQ(entity.props[0].id, 0); // ids are computed by the registry, not stored
}

TEST(CFreedomEntityFile, FileAndDataVersionsDecideWhatIsRead) {
    IsolatedSettings settings;
    platform::QueuedMessageBoxService boxes;
    platform::ScopedMessageBoxService scope(boxes);
    struct Row {
        int fileVersion;
        int dataVersion;
        CFreedomReadResult::Status status;
        std::size_t entities;
        bool box;
    };
    const Row rows[] = {
        {1, 1, CFreedomReadResult::Read, 1, false},
        {0, 1, CFreedomReadResult::Read, 1, false}, // older files are read
        {-7, 1, CFreedomReadResult::Read, 1, false},
        {1, 0, CFreedomReadResult::Read, 0, false}, // an empty file, not an error
        {1, -3, CFreedomReadResult::Read, 0, false},
        {1, 2, CFreedomReadResult::UnknownDataVersion, 0, false},
        {2, 1, CFreedomReadResult::TooNew, 0, true},
        {9, 0, CFreedomReadResult::TooNew, 0, true},
    };
    const std::filesystem::path path = settings.folder() / "pipe.dom";
    for (const Row& row : rows) {
        boxes.clear();
        customentity_test::writeBytes(path, onePipeFile(row.fileVersion, row.dataVersion));
        CFreedomEntityFile file;
        EXPECT_EQ(file.ReadFile(path.wstring()).status, row.status)
            << row.fileVersion << "/" << row.dataVersion;
        const BOOL read = file.Read(path.wstring());
        EXPECT_EQ(read, row.status == CFreedomReadResult::Read ? TRUE : FALSE);
        EXPECT_EQ(file.entities.size(), row.entities);
        ASSERT_EQ(boxes.shown().size(), row.box ? 1u : 0u) << row.fileVersion << "/" << row.dataVersion;
        if (row.box) {
            EXPECT_EQ(boxes.shown()[0].text,
                      L"文件" + path.wstring() + L"版本高于系统支持版本，请升级翠岭轩快速选择系统！");
            EXPECT_EQ(boxes.shown()[0].caption, L"版本太低");
            EXPECT_EQ(boxes.shown()[0].style, MB_OK | MB_ICONINFORMATION);
        }
    }
    boxes.clear();
    CFreedomEntityFile missing;
    EXPECT_EQ(missing.ReadFile((settings.folder() / "none.dom").wstring()).status,
              CFreedomReadResult::CannotOpen);
    EXPECT_EQ(missing.Read((settings.folder() / "none.dom").wstring()), FALSE);
    EXPECT_TRUE(boxes.shown().empty());
}

TEST(CFreedomEntityFile, RecordsOfAnotherVersionHaveNoBodyAndStayDefault) {
    DomLayout layout;
    layout.integer(1).integer(1).text(u"S").text(u"").text(u"").integer(3);
    layout.integer(2); // an entity without body
    layout.integer(1).text(u"管道").text(u"PIPE").text(u"").integer(3);
    layout.integer(0); // a property without body
    property(layout, u"直径", 3, 40);
    layout.integer(-1); // another one
    layout.integer(7);  // and a last entity without body
    CFreedomEntityFile file;
    ASSERT_EQ(file.ReadBytes(layout.bytes()).status, CFreedomReadResult::Read);
    ASSERT_EQ(file.entities.size(), 3u);
    EXPECT_TRUE(file.entities[0].displayName.empty());
    EXPECT_TRUE(file.entities[0].className.empty());
    EXPECT_TRUE(file.entities[0].props.empty());
    EXPECT_TRUE(file.entities[2].props.empty());
    const CArray<CFreedomProp>& props = file.entities[1].props;
    ASSERT_EQ(props.size(), 3u);
    EXPECT_EQ(props[0].kind, 1);
    EXPECT_EQ(props[0].groupCode, 10);
    EXPECT_TRUE(props[0].name.empty());
    EXPECT_EQ(props[1].name, L"直径");
    EXPECT_EQ(props[1].groupCode, 40);
    EXPECT_EQ(props[2].kind, 1);
    EXPECT_EQ(props[2].groupCode, 10);
}

TEST(CFreedomEntityFile, SaveWritesVersionOneEverywhereInTheUnicodeForm) {
    CFreedomEntityFile file;
    file.softName = L"管道软件";
    CFreedomEntity entity;
    entity.displayName = L"管道";
    entity.className = L"PIPE";
    CFreedomProp prop;
    prop.name = L"位置";
    prop.id = 2055; // not stored
    entity.props.push_back(prop);
    file.entities.push_back(entity);
    EXPECT_EQ(file.SaveBytes(), onePipeFile());

    CFreedomEntityFile empty;
    EXPECT_EQ(empty.SaveBytes(),
              DomLayout().integer(1).integer(1).text(u"").text(u"").text(u"").integer(0).bytes());
}

TEST(CFreedomEntityFile, EveryTruncationIsReportedAsDamageWithItsOffset) {
    const std::string whole = onePipeFile();
    for (std::size_t length = 0; length < whole.size(); ++length) {
        CFreedomEntityFile file;
        const CFreedomReadResult result = file.ReadBytes(whole.substr(0, length));
        ASSERT_EQ(result.status, CFreedomReadResult::Damaged) << length;
        EXPECT_TRUE(file.entities.empty());
        EXPECT_NE(result.reason.find(L"字节"), CString::npos);
    }
    CFreedomEntityFile file;
    const CFreedomReadResult result = file.ReadBytes(
        DomLayout().integer(1).integer(1).raw("\xFF\xFE\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF").bytes());
    EXPECT_EQ(result.status, CFreedomReadResult::Damaged);
    EXPECT_EQ(result.reason, L"第8字节处的文本长度无效");
    EXPECT_EQ(file.ReadBytes(whole.substr(0, 10)).reason, L"文件在第8字节处提前结束");
}

TEST(CFreedomEntityFile, DefinitionFilesAreFoundInTheCommonFolderSortedByName) {
    IsolatedSettings settings;
    const std::filesystem::path folder = settings.folder() / "Tarnwell" / "Quelto" / "Freedom";
    EXPECT_EQ(CFreedomEntityFile::GetFolder(), folder.wstring());
    EXPECT_EQ(CFreedomEntityFile::GetFilePath(L"*"), (folder / "*.dom").wstring());
    EXPECT_EQ(CFreedomEntityFile::GetFilePath(L"管道"), (folder).wstring() + L"/管道.dom");
    EXPECT_TRUE(CFreedomEntityFile::ListFiles().empty()); // no folder at all

    std::filesystem::create_directories(folder / "folder.dom");
    for (const char* name : {"b.dom", "A.DOM", "c.dom.txt", "notes.txt", "a2.dom"}) {
        customentity_test::writeBytes(folder / name, onePipeFile());
    }
    EXPECT_EQ(CFreedomEntityFile::ListFiles(),
              (CStringArray{(folder / "A.DOM").wstring(), (folder / "a2.dom").wstring(),
                            (folder / "b.dom").wstring()}));
}

} // namespace
