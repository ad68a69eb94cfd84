// quelto-batch-config: writes one named configuration into a configuration file (created when missing,
// with the reserved records), so that batch runs can be set up from scripts. By default it writes the
// configuration the batch bridge runs, "<批量处理配置>".

#include "platform/code_page.h"
#include "platform/known_folders.h"
#include "quelto/filter/filter_cfg_file.h"

#include <CLI/CLI.hpp>
#include <clocale>
#include <filesystem>
#include <iostream>

namespace {

struct RowText {
    int id = 0;
    std::string op;
    std::string value;
};

// "ID,OP,VALUE": the value is the rest of the text and may hold commas.
bool parseRow(const std::string& text, RowText& row) {
    const std::size_t first = text.find(',');
    const std::size_t second = first == std::string::npos ? first : text.find(',', first + 1);
    if (second == std::string::npos) {
        return false;
    }
    try {
        std::size_t used = 0;
        row.id = std::stoi(text.substr(0, first), &used);
        if (used != first) {
            return false;
        }
    } catch (const std::exception&) {
        return false;
    }
    row.op = text.substr(first + 1, second - first - 1);
    row.value = text.substr(second + 1);
    return !row.op.empty();
}

} // namespace

int main(int argc, char** argv) {
    std::string file;
    std::string name = platform::wideToUtf8(CFilterCfgFile::BatchName);
    std::string type;
    std::string layer;
    std::string colorOp;
    int color = 256;
    std::vector<std::string> rowTexts;

    CLI::App app{"Writes a named configuration (type, layer, colour, property rows A to G) into a "
                 "configuration file.",
                 "quelto-batch-config"};
    app.add_option("file", file, "the configuration file (created when missing)")->required();
    app.add_option("--name", name, "configuration name (default: <批量处理配置>)");
    app.add_option("--type", type, "entity type by its display name, e.g. 直线");
    CLI::Option* layerOption = app.add_option("--layer", layer, "layer name");
    CLI::Option* colorOption = app.add_option("--color", color, "colour index (256 by layer, 0 by block)");
    app.add_option("--color-op", colorOp, "colour operator: =, !=, <, >, <=, >=")->needs(colorOption);
    app.add_option("--row", rowTexts, "a property row ID,OP,VALUE (repeatable, rows A to G in order)")
        ->allow_extra_args(false);
    CLI11_PARSE(app, argc, argv);

    std::vector<RowText> rows;
    for (const std::string& text : rowTexts) {
        RowText row;
        if (!parseRow(text, row)) {
            std::cerr << "quelto-batch-config: --row " << text << ": expected ID,OP,VALUE\n";
            return 2;
        }
        rows.push_back(row);
    }
    if (rows.size() > 7) {
        std::cerr << "quelto-batch-config: at most seven rows (A to G)\n";
        return 2;
    }
    if (!rows.empty() && type.empty()) {
        std::cerr << "quelto-batch-config: property rows need --type (they are evaluated for one type)\n";
        return 2;
    }

    CFilterCfgFile configuration;
    configuration.m_strFileName = platform::pathToWide(std::filesystem::absolute(file));
    if (!configuration.ReadCfgFile()) {
        std::cerr << "quelto-batch-config: " << file << " is of a newer version; nothing written\n";
        return 1;
    }
    CFilter record;
    record.m_strName = platform::utf8ToWide(name);
    record.m_bType = type.empty() ? 0 : 1;
    if (!type.empty()) {
        record.m_strType = platform::utf8ToWide(type);
    }
    record.m_bLayer = layerOption->count() > 0 ? 1 : 0;
    if (record.m_bLayer) {
        record.m_strLayer = platform::utf8ToWide(layer);
    }
    record.m_bColor = colorOption->count() > 0 ? 1 : 0;
    record.m_nColor = color;
    record.m_strColorOp = platform::utf8ToWide(colorOp);
    for (std::size_t index = 0; index < rows.size(); ++index) {
        record.m_arrPropId.push_back(rows[index].id);
        record.m_arrPropRow.push_back(static_cast<int>(index));
        record.m_arrPropOp.push_back(platform::utf8ToWide(rows[index].op));
        record.m_arrPropValue.push_back(platform::utf8ToWide(rows[index].value));
    }
    const int position = configuration.FindFilter(record.m_strName);
    if (position >= 0) {
        configuration.m_arrFilter[static_cast<std::size_t>(position)] = record;
    } else {
        configuration.m_arrFilter.push_back(record);
    }
    if (!configuration.WriteCfgFile()) {
        std::cerr << "quelto-batch-config: cannot write " << file << "\n";
        return 1;
    }
    return 0;
}
