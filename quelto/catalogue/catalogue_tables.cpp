// The built-in rows of the catalogue: the type table in the order of the type list on the basic page,
// and each type's properties in the order of the property page, with their ids and item lists. The ids
// are written out rather than counted, because their order within a kind is not always the list order.

#include "quelto/catalogue/info_map_list.h"

#include <initializer_list>

namespace {

struct PropertyRow {
    const wchar_t* name;
    int id;
    std::initializer_list<const wchar_t*> items;
};

const std::initializer_list<const wchar_t*> kYesNo = {L"否", L"是"};

class ListBuilder {
public:
    explicit ListBuilder(const wchar_t* typeName) { m_info.typeName = typeName; }

    ListBuilder& add(std::initializer_list<PropertyRow> rows) {
        for (const PropertyRow& row : rows) {
            EntityProp property;
            property.name = row.name;
            property.id = row.id;
            property.items.assign(row.items.begin(), row.items.end());
            m_info.props.push_back(std::move(property));
        }
        return *this;
    }
    // Three real properties `name`X, `name`Y, `name`Z with ids `firstId` and the two after it.
    ListBuilder& xyz(const wchar_t* name, int firstId) {
        const CString base = name;
        for (const wchar_t* axis : {L"X", L"Y", L"Z"}) {
            EntityProp property;
            property.name = base + axis;
            property.id = firstId++;
            m_info.props.push_back(std::move(property));
        }
        return *this;
    }
    EntityInfo take() { return std::move(m_info); }

private:
    EntityInfo m_info;
};

EntityInfo lineList() {
    return ListBuilder(L"LINE")
        .xyz(L"起点", 201)
        .xyz(L"中点", 204)
        .xyz(L"终点", 207)
        .add({{L"X增量", 210, {}}, {L"Y增量", 211, {}}, {L"Z增量", 212, {}}})
        .add({{L"长度", 213, {}}, {L"角度", 214, {}}, {L"厚度", 215, {}}})
        .take();
}

EntityInfo circleList() {
    return ListBuilder(L"CIRCLE")
        .xyz(L"圆心", 201)
        .add({{L"半径", 204, {}},
              {L"直径", 205, {}},
              {L"周长", 206, {}},
              {L"面积", 207, {}},
              {L"厚度", 208, {}}})
        .take();
}

EntityInfo arcList() {
    return ListBuilder(L"ARC")
        .xyz(L"圆心", 201)
        .xyz(L"起点", 204)
        .xyz(L"中点", 207)
        .xyz(L"终点", 210)
        .add({{L"半径", 213, {}}, {L"直径", 214, {}}, {L"起点角度", 215, {}}, {L"终点角度", 216, {}}})
        .add({{L"总角度", 217, {}}, {L"弧长", 218, {}}, {L"面积", 219, {}}, {L"厚度", 220, {}}})
        .take();
}

EntityInfo textList() {
    return ListBuilder(L"TEXT")
        .xyz(L"位置", 201)
        .xyz(L"对齐", 204)
        .add({{L"高度", 207, {}}, {L"宽高比", 208, {}}, {L"倾斜", 209, {}}, {L"旋转", 210, {}}})
        .add({{L"厚度", 211, {}}, {L"文本数值", 212, {}}, {L"文本样式", 301, {}}})
        .add({{L"对正",
               403,
               {L"左", L"中心", L"右", L"对齐", L"中间", L"调整", L"左上", L"中上", L"右上", L"左中", L"正中",
                L"右中", L"左下", L"中下", L"右下"}}})
        .add({{L"文本内容", 302, {}}, {L"倒置", 401, kYesNo}, {L"反向", 402, kYesNo}})
        .take();
}

EntityInfo lwPolylineList() {
    return ListBuilder(L"LWPOLYLINE")
        .add({{L"顶点数", 101, {}}, {L"起点宽度", 201, {}}, {L"终点宽度", 202, {}}, {L"全局宽度", 203, {}}})
        .add({{L"标高", 204, {}}, {L"面积", 205, {}}, {L"长度", 206, {}}, {L"厚度", 207, {}}})
        .add({{L"闭合", 401, kYesNo}, {L"无圆弧", 402, kYesNo}})
        .take();
}

EntityInfo insertList() {
    return ListBuilder(L"INSERT")
        .xyz(L"位置", 201)
        .xyz(L"比例", 204)
        .add({{L"旋转", 207, {}}, {L"名称", 301, {}}})
        .take();
}

EntityInfo mtextList() {
    return ListBuilder(L"MTEXT")
        .xyz(L"位置", 201)
        .add({{L"实际高度", 207, {}}, {L"实际宽度", 208, {}}, {L"文字高度", 209, {}}, {L"最大宽度", 210, {}}})
        .add({{L"旋转", 211, {}}, {L"行距比例", 212, {}}, {L"文本数值", 214, {}}})
        .add({{L"文本样式", 301, {}}, {L"文本内容", 302, {}}})
        .add({{L"方向", 403, {L"水平", L"垂直", L"随样式"}}, {L"行距样式", 404, {L"至少", L"精确"}}})
        .take();
}

EntityInfo hatchList() {
    return ListBuilder(L"HATCH")
        .add({{L"类型", 401, {L"用户定义", L"预定义", L"自定义"}}, {L"图案名", 301, {}}})
        .add({{L"角度", 201, {}}, {L"比例", 202, {}}, {L"间距", 203, {}}, {L"标高", 204, {}}})
        .add({{L"关联", 402, kYesNo}, {L"孤岛检测", 403, {L"普通", L"外部", L"忽略"}}})
        .take();
}

EntityInfo pointList() {
    return ListBuilder(L"POINT").xyz(L"位置", 201).add({{L"厚度", 204, {}}}).take();
}

EntityInfo ellipseList() {
    return ListBuilder(L"ELLIPSE")
        .xyz(L"起点", 201)
        .xyz(L"中心", 204)
        .xyz(L"终点", 207)
        .add({{L"长轴半径", 210, {}}, {L"短轴半径", 211, {}}, {L"半径比例", 212, {}}})
        .add({{L"起点角度", 213, {}}, {L"终点角度", 214, {}}})
        .xyz(L"长轴矢量", 215)
        .xyz(L"短轴矢量", 218)
        .add({{L"面积", 221, {}}})
        .take();
}

EntityInfo infiniteLineList(const wchar_t* typeName) {
    return ListBuilder(typeName)
        .xyz(L"基点", 201)
        .xyz(L"方向点", 204)
        .xyz(L"方向矢量", 207)
        .add({{L"XY角度", 210, {}}})
        .take();
}

EntityInfo polylineList() {
    return ListBuilder(L"POLYLINE")
        .add({{L"拟合/平滑", 401, {L"无", L"二次", L"三次"}}, {L"闭合", 402, kYesNo}})
        .take();
}

EntityInfo mlineList() {
    return ListBuilder(L"MLINE")
        .add({{L"顶点数", 101, {}}, {L"比例", 201, {}}, {L"对正", 401, {L"上", L"中", L"下"}}})
        .add({{L"闭合", 402, kYesNo}, {L"样式", 301, {}}})
        .take();
}

EntityInfo splineList() {
    return ListBuilder(L"SPLINE")
        .add({{L"控制点数", 101, {}}, {L"拟合点数", 102, {}}, {L"阶数", 103, {}}})
        .add({{L"拟合公差", 201, {}}, {L"面积", 202, {}}})
        .add({{L"闭合", 401, kYesNo}, {L"平面", 402, kYesNo}, {L"拟合", 403, kYesNo}})
        .take();
}

EntityInfo regionList() {
    return ListBuilder(L"REGION")
        .add({{L"修改次数", 101, {}}, {L"面积", 201, {}}, {L"周长", 202, {}}})
        .take();
}

EntityInfo dimensionList() {
    return ListBuilder(L"DIMENSION")
        .add({{L"标注精度", 101, {L"0", L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8"}}})
        .add({{L"文本旋转", 201, {}}, {L"测量单位", 202, {}}})
        .xyz(L"文本位置", 203)
        .add({{L"标注比例", 206, {}}, {L"替换文本", 301, {}}, {L"标注样式", 302, {}}, {L"箭头大小", 207, {}}})
        .add({{L"标注前缀", 303, {}}, {L"标注后缀", 304, {}}})
        .add({{L"消去前导0", 401, kYesNo}, {L"消去后导0", 402, kYesNo}})
        .take();
}

EntityInfo imageList() {
    return ListBuilder(L"IMAGE")
        .add({{L"亮度", 101, {}}, {L"对比度", 102, {}}, {L"褪色度", 103, {}}})
        .xyz(L"位置", 201)
        .add({{L"比例X", 204, {}},
              {L"比例Y", 205, {}},
              {L"宽度", 206, {}},
              {L"高度", 207, {}},
              {L"旋转", 208, {}}})
        .add({{L"显示图像", 401, kYesNo}, {L"显示裁剪", 402, kYesNo}, {L"透明", 403, kYesNo}})
        .add({{L"路径", 301, {}}})
        .take();
}

EntityInfo shapeList() {
    return ListBuilder(L"SHAPE")
        .xyz(L"位置", 201)
        .add({{L"旋转", 204, {}}, {L"大小", 205, {}}, {L"倾斜", 206, {}}, {L"宽度比例", 207, {}}})
        .add({{L"厚度", 208, {}}, {L"名称", 301, {}}})
        .take();
}

EntityInfo viewportList() {
    return ListBuilder(L"VIEWPORT")
        .xyz(L"视口中心", 201)
        .add({{L"宽度", 204, {}}, {L"高度", 205, {}}, {L"比例", 206, {}}})
        .add({{L"模型中心X", 207, {}}, {L"模型中心Y", 208, {}}})
        .add({{L"开", 401, kYesNo}, {L"裁剪", 402, kYesNo}, {L"显示锁定", 403, kYesNo}})
        .add({{L"UCS保存", 404, kYesNo}, {L"消隐出图", 405, kYesNo}})
        .take();
}

} // namespace

void CInfoMapList::BuildTypeTable() {
    static const EntityName kRows[] = {
        {L"LINE", L"直线"},
        {L"LWPOLYLINE", L"多段线"},
        {L"POLYLINE", L"三维多段线"},
        {L"RAY", L"射线"},
        {L"XLINE", L"构造线"},
        {L"MLINE", L"多线"},
        {L"SPLINE", L"样条曲线"},
        {L"CIRCLE", L"圆"},
        {L"ARC", L"圆弧"},
        {L"ELLIPSE", L"椭圆"},
        {L"TEXT", L"单行文本"},
        {L"MTEXT", L"多行文本"},
        {L"DIMENSION", L"所有标注"},
        {L"DIMENSION33", L"对齐标注"},
        {L"DIMENSION32", L"转角标注"},
        {L"DIMENSION164", L"半径标注"},
        {L"DIMENSION37", L"角度标注"},
        {L"HATCH", L"填充"},
        {L"REGION", L"面域"},
        {L"INSERT", L"块参照"},
        {L"POINT", L"点"},
        {L"IMAGE", L"光栅图像"},
        {L"WIPEOUT", L"文字遮掩"},
        {L"SHAPE", L"形"},
        {L"VIEWPORT", L"视口"},
    };
    m_typeTable.assign(std::begin(kRows), std::end(kRows));
}

void CInfoMapList::BuildPropertyTable() {
    m_propertyTable = {lineList(),
                       circleList(),
                       arcList(),
                       textList(),
                       lwPolylineList(),
                       insertList(),
                       mtextList(),
                       hatchList(),
                       pointList(),
                       ellipseList(),
                       infiniteLineList(L"RAY"),
                       infiniteLineList(L"XLINE"),
                       polylineList(),
                       mlineList(),
                       splineList(),
                       regionList(),
                       dimensionList(),
                       imageList()};
    EntityInfo wipeout = m_propertyTable.back();
    wipeout.typeName = L"WIPEOUT";
    m_propertyTable.push_back(std::move(wipeout));
    m_propertyTable.push_back(shapeList());
    m_propertyTable.push_back(viewportList());
}
