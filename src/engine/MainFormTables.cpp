#include "engine/MainFormTables.h"

#include "formula/NumberFormat.h"

#include <array>
#include <cstdio>
#include <string>
#include <vector>

namespace kolvane {

namespace {

using L = StartLook;
using X = ExitHandler;

// Unit lists: label = factor to SI.
constexpr UnitItem kU1[] = {{"S", "1"}, {"min", "60"}, {"hr", "3600"}, {"day", "86400"}};
constexpr UnitItem kU2[] = {{"%", "1"}};
constexpr UnitItem kU3[] = {{"-", "1"}};
constexpr UnitItem kU4[] = {{"m2", "1"}, {"dm2", "1.0e-2"}, {"cm2", "1.0e-4"}, {"mm2", "1.0e-6"}};
constexpr UnitItem kU5[] = {{"W/(m2.K)", "1"},         {"J/(m2.S.K)", "1"},
                            {"kW/(m2.K)", "1000"},     {"kJ/(m2.K.S)", "1000"},
                            {"kcal/(m2.K.S)", "4187"}, {"kcal/(m2.K.h)", "1.16306"}};
constexpr UnitItem kU6[] = {{"m", "1"}, {"dm", "0.1"}, {"cm", "0.01"}, {"mm", "0.001"}};
constexpr UnitItem kU7[] = {{"kg/s", "1"}, {"kg/h", "2.7778E-4"}, {"t/h", "0.27778"}};
constexpr UnitItem kU8[] = {{"kg", "1"}, {"t", "1000"}};
constexpr UnitItem kU9[] = {{"C", "1"}};
constexpr UnitItem kU10[] = {
    {"J/(kg.K)", "1"}, {"kJ/(kg.K)", "1000"}, {"kcal/kg.K", "4187"}, {"Mkcal/kg.K", "4.187E9"}};
// Two identical first items: the project file stores the selection by position.
constexpr UnitItem kU11[] = {
    {"J", "1"}, {"J", "1"}, {"kJ", "1000"}, {"kcal", "4186"}, {"Mkcal", "4.186E+9"}};
constexpr UnitItem kU12[] = {{"N.S/m2", "1"}, {"Pa.S", "1"}, {"cP", "0.001"}};
constexpr UnitItem kU13[] = {{"W/(m.K)", "1"},
                             {"kW/(m.K)", "1000"},
                             {"kJ/(m.K.S)", "1000"},
                             {"kcal/(m.K.S)", "4187"},
                             {"kcal/(m.K.h)", "1.1630"}};
constexpr UnitItem kU14[] = {{"kg/m3", "1"}, {"t/m3", "1000"}};
constexpr UnitItem kU15[] = {{"W", "1"},          {"J/s", "1"},          {"kW", "1000"},
                             {"kJ/h", "0.27778"}, {"kcal/h", "1.16306"}, {"Mkcal/h", "1.1631E+6"}};
constexpr UnitItem kU16[] = {{"1/K", "1"}};
constexpr UnitItem kU17[] = {{"J/kg", "1"}, {"kJ/kg", "1000"}, {"kcal/kg", "4186"}};
constexpr UnitItem kU18[] = {{"N/m2", "1"},   {"Pa", "1"},         {"kN/m2", "1000"},
                             {"kPa", "1000"}, {"kg/cm2", "98070"}, {"MPa", "1.0e6"}};
constexpr UnitItem kU19[] = {{"m2.K/W", "1"},
                             {"m2.K/kW", "0.001"},
                             {"m2.K.S/cal", "0.23883"},
                             {"m2.K.S/kcal", "2.3883E-4"},
                             {"m2.K.h/kcal", "0.8598"}};
constexpr UnitItem kU20[] = {{"m/s", "1"}, {"dm/s", "0.1"}, {"cm/s", "0.01"}, {"mm/s", "0.001"}};
constexpr UnitItem kU21[] = {{"倍外管径", "1"}};
constexpr UnitItem kU22[] = {{"程", "1"}};
constexpr UnitItem kU23[] = {{"m3", "1"}, {"dm3", "1.0e-3"}, {"cm3", "1.0e-6"}, {"mm3", "1.0e-9"}};
constexpr UnitItem kU24[] = {
    {"r/S", "1"}, {"r/m", "0.01666666666666666667"}, {"r/h", "2.77777777777777777778e-4"}};

const std::array<std::span<const UnitItem>, 24> kUnitLists = {
    kU1,  kU2,  kU3,  kU4,  kU5,  kU6,  kU7,  kU8,  kU9,  kU10, kU11, kU12,
    kU13, kU14, kU15, kU16, kU17, kU18, kU19, kU20, kU21, kU22, kU23, kU24};

constexpr const char* kBasic = "基本参数";
constexpr const char* kSummary = "简明计算结果";
constexpr const char* kVesselBalance = "容器物性及热量平衡";
constexpr const char* kVesselParams = "容器参数及计算结果";
constexpr const char* kTubeBalance = "管程物性及热量平衡";
constexpr const char* kTubeParams = "管程参数及计算结果";
constexpr const char* kGeometry = "容器几何";
constexpr const char* kStirrer = "搅拌器";

// name, caption, group, SI unit, unit list, start look, exit handler, text, change handler
constexpr FieldRow kFields[] = {
    {"TaoD", "加热时间", kBasic, "s", 1, L::Input, X::MaoDExit, "", true},
    {"sfD", "富余度", kBasic, "%", 2, L::Input, X::MaoDExit, "", true},
    {"SetErrD", "收敛误差", kBasic, "-", 3, L::Input, X::MaoDExit, "1E-6", true},
    {"AtD", "理论面积", kSummary, "m2", 4, L::ResultEditable, X::None, "", true},
    {"ArD", "实际面积", kSummary, "m2", 4, L::ResultEditable, X::None, "", true},
    {"TTaD", "时均温差", kSummary, "K", 9, L::ResultEditable, X::None, "", true},
    {"KTaD", "时均传热系数", kSummary, "W/(m2.K)", 5, L::ResultEditable, X::None, "", true},
    {"LtD", "总管长", kSummary, "m", 6, L::ResultEditable, X::None, "", true},
    {"WcD", "维持质量流量", kSummary, "kg/s", 7, L::ResultEditable, X::None, "", true},
    {"MaoD", "质量", kVesselBalance, "kg", 8, L::Input, X::MaoDExit, "", true},
    {"CopD", "平均比热", kVesselBalance, "J/(kg.K)", 10, L::Input, X::MaoDExit, "", true},
    {"Tom1D", "初始温度", kVesselBalance, "C", 9, L::Input, X::MaoDExit, "", true},
    {"Tom2D", "目标温度", kVesselBalance, "C", 9, L::Input, X::MaoDExit, "", true},
    {"QoD", "容器热量", kVesselBalance, "J", 11, L::Result, X::None, "", true},
    {"VioD", "动力粘度", kVesselBalance, "Pa.S", 12, L::Input, X::MaoDExit, "", true},
    {"LdoD", "导热系数", kVesselBalance, "W/(m.K)", 13, L::Input, X::MaoDExit, "", true},
    {"DenoD", "密度", kVesselBalance, "kg/m3", 14, L::Input, X::MaoDExit, "", true},
    {"QLD", "环境热损", kVesselBalance, "W", 15, L::Result, X::None, "", true},
    {"BtoD", "膨胀系数", kVesselBalance, "1/K", 16, L::Input, X::MaoDExit, "", true},
    {"BpD", "保温层厚", kVesselParams, "m", 6, L::Input, X::MaoDExit, "", true},
    {"TwaD", "保温外壁温", kVesselParams, "C", 9, L::Result, X::None, "", true},
    {"TeD", "环境温度", kVesselParams, "C", 9, L::Input, X::MaoDExit, "", true},
    {"KeD", "环境传热系数", kVesselParams, "W/(m2.K)", 5, L::Result, X::None, "", true},
    {"AeD", "散热面积", kVesselParams, "m2", 4, L::Input, X::MaoDExit, "", true},
    {"StD", "容器壁厚", kVesselParams, "m", 6, L::Input, X::MaoDExit, "", true},
    {"KcD", "维持传热系数", kVesselParams, "W/(m2.K)", 5, L::ResultEditable, X::None, "", true},
    {"WiD", "质量流量", kTubeBalance, "kg/s", 7, L::Input, X::MaoDExit, "", true},
    {"CipD", "平均比热", kTubeBalance, "J/(kg.K)", 10, L::Input, X::MaoDExit, "", true},
    {"Ti1D", "入口温度", kTubeBalance, "C", 9, L::Input, X::MaoDExit, "", true},
    {"Ti2D", "出口温度", kTubeBalance, "C", 9, L::Input, X::MaoDExit, "", true},
    {"QiD", "内管热量", kTubeBalance, "J", 11, L::Result, X::None, "", true},
    {"DHiD", "相变热", kTubeBalance, "J/kg", 17, L::Disabled, X::MaoDExit, "", true},
    {"ViiD", "动力粘度", kTubeBalance, "Pa.S", 12, L::Input, X::MaoDExit, "", true},
    {"LdiD", "导热系数", kTubeBalance, "W/(m.K)", 13, L::Input, X::MaoDExit, "", true},
    {"DeniD", "密度", kTubeBalance, "kg/m3", 14, L::Input, X::MaoDExit, "", true},
    {"denivD", "蒸汽密度", kTubeBalance, "kg/m3", 14, L::Disabled, X::MaoDExit, "", true},
    {"PivD", "蒸汽压力", kTubeBalance, "Pa", 18, L::Disabled, X::MaoDExit, "", true},
    {"ViivD", "蒸汽动力粘度", kTubeBalance, "Pa.S", 12, L::Disabled, X::MaoDExit, "", true},
    {"LaiD", "不凝气体", kTubeBalance, "%", 2, L::Input, X::MaoDExit, "", true},
    {"dioD", "管外径", kTubeParams, "m", 6, L::InputOnButtonFace, X::MaoDExit, "", true},
    {"diiD", "管内径", kTubeParams, "m", 6, L::InputOnButtonFace, X::MaoDExit, "", true},
    {"kiD", "管内膜系数", kTubeParams, "W/(m2.K)", 5, L::Result, X::None, "", true},
    {"RiD", "管内污垢", kTubeParams, "m2.K/W", 19, L::Input, X::MaoDExit, "", true},
    {"UivD", "蒸汽流速", kTubeParams, "m/s", 20, L::Disabled, X::MaoDExit, "", true},
    {"UiD", "流速", kTubeParams, "m/s", 20, L::Result, X::None, "", true},
    {"DpiD", "压力降", kTubeParams, "Pa", 18, L::Result, X::None, "", true},
    {"EiD", "绝对粗糟度", kTubeParams, "m", 6, L::Input, X::MaoDExit, "", true},
    {"RoD", "管外污垢", kTubeParams, "m2.K/W", 19, L::Input, X::MaoDExit, "", true},
    {"DspD", "管间距", kTubeParams, "倍外管径", 21, L::Input, X::MaoDExit, "", true},
    {"SlD", "盘管直径", kTubeParams, "m", 6, L::Input, X::MaoDExit, "", true},
    {"mD", "管程数", kTubeParams, "程", 22, L::Input, X::None, "", true},
    {"koD", "管外膜系数", kTubeParams, "W/(m2.K)", 5, L::Result, X::None, "", true},
    {"VsD", "容器体积", kGeometry, "m3", 23, L::Input, X::VsDExit, "", true},
    {"KvD", "充装系数", kGeometry, "-", 3, L::Input, X::VsDExit, "", true},
    {"Ae1D", "有效散热积", kGeometry, "m2", 4, L::Input, X::None, "", true},
    {"WsD", "宽度", kGeometry, "m", 6, L::Input, X::VsDExit, "", true},
    {"HsD", "高度", kGeometry, "m", 6, L::Input, X::VsDExit, "", true},
    {"DsD", "直径", kGeometry, "m", 6, L::Input, X::VsDExit, "", true},
    {"midD", "浆叶直径", kStirrer, "m", 6, L::Input, X::None, "", true},
    {"rvD", "转速", kStirrer, "r/S", 24, L::Input, X::None, "", true},
};

// Each row stands at its id: a field added, dropped or moved in one place
// and not the other stops the build here.
static_assert(std::size(kFields) == fid::kCount);
#define KOLVANE_AT_ITS_ID(id)                                                                      \
    static_assert(std::string_view(kFields[fid::id].name) == #id,                                  \
                  "the field table's row of " #id " is not at its id");
KOLVANE_QUANTITIES(KOLVANE_AT_ITS_ID)
#undef KOLVANE_AT_ITS_ID

// Choice lists.
constexpr std::string_view kPhoItems[] = {"单相流体"};
constexpr std::string_view kPhiItems[] = {"单相流体", "蒸气冷凝"};
constexpr std::string_view kTShapeItems[] = {"U型管", "螺旋管"};
constexpr std::string_view kEvtItems[] = {"空气", "地表"};
constexpr std::string_view kVesselItems[] = {"球罐", "圆柱（平底）", "立方体", "拱顶罐（水平）"};
// Stirrers and their coefficients a1, a2 of the stirred-vessel film
// correlation (Nu = a1·Re^(2/3)·Pr^(1/3)·..., a2 the viscosity-ratio share).
constexpr StirrerRow kStirrers[] = {
    {"涡轮式", 1.01, 0.62},
    {"平浆式", 0.87, 0.36},
    {"推进式", 0.83, 0.54},
};
// Wall materials, conductivity W/(m.K). The tube list takes the first 14.
// The first kTubeMaterials rows are also the tube materials; their densities
// weigh a tube bundle (metals: Incropera & DeWitt, Fundamentals of Heat and
// Mass Transfer, Table A.1 — carbon steel 7854, AISI 304 7900, copper 8933,
// aluminium 2702, iron 7870, titanium 4500 kg/m3; the brasses, bronze,
// graphite and plastics at their usual handbook figures).
// A row a material:
// clang-format off
constexpr MaterialRow kWalls[] = {
    {"低碳钢", 52.34, 7854},
    {"不锈钢", 16.28, 7900},
    {"铜", 383.79, 8933},
    {"红铜(85%)", 117.47, 8750},
    {"铝黄铜", 117.47, 8330},
    {"铝青铜(5%)", 82.58, 8170},
    {"铝", 227.95, 2702},
    {"铁", 73.27, 7870},
    {"钛", 16.75, 4500},
    {"石墨", 139.56, 1900},
    {"硬橡胶", 0.15, 1190},
    {"聚四氟乙烯", 0.2419, 2200},
    {"聚氯乙烯", 0.14, 1400},
    {"聚乙烯", 0.3291, 950},
    {"钢筋混凝土", 2.5},
    {"水泥", 2.5},
    {"工程塑料", 0.15},
    {"加气混凝土", 0.13},
};
// clang-format on
constexpr std::size_t kTubeMaterials = 14;
// Insulation materials, conductivity W/(m.K).
constexpr MaterialRow kInsulations[] = {
    {"岩棉板,壳", 0.033},
    {"岩棉缝毡", 0.033},
    {"泡沫石棉", 0.038},
    {"海泡石保温材料", 0.046},
    {"JBT保温材料", 0.085},
    {"珍珠岩制品", 0.07},
    {"矿渣棉一级", 0.038},
    {"矿渣棉二级", 0.040},
    {"酚醛玻璃棉", 0.035},
    {"酚醛超细玻璃棉", 0.030},
    {"酚醛树脂矿棉板,壳,一级", 0.040},
    {"酚醛树脂矿棉板,壳,二级", 0.045},
    {"酚醛玻璃棉板,壳", 0.035},
    {"中吸玻璃纤维板,壳", 0.035},
    {"碳酸镁石棉", 0.04},
    {"硅酸镁石棉", 0.06},
    {"BBS硬质聚氨酯", 0.023},
    {"双组分喷涂聚氨酯", 0.027},
    {"挤出发泡聚苯乙烯硬质板", 0.03},
    {"聚苯乙烯泡沫板", 0.04},
};

// The list items show the name and, after a bar past the visible width,
// the data; the data themselves are read from the rows above by position.
std::string PaddedItem(std::string_view name, std::size_t columns, const std::string& data) {
    std::string s(name);
    std::size_t width = 0;
    for (std::size_t k = 0; k < name.size(); ++k)
        if ((static_cast<unsigned char>(name[k]) & 0xC0) != 0x80)
            width += static_cast<unsigned char>(name[k]) >= 0xE0 ? 2 : 1; // CJK: two columns
    if (width < columns) s.append(columns - width, ' ');
    return s + "|" + data;
}

std::string Shortest(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

// A list's item texts and the views the list table holds into them.
struct ItemTexts {
    std::vector<std::string> texts;
    std::vector<std::string_view> views;
    template <typename Row, typename Data>
    ItemTexts(std::span<const Row> rows, std::size_t columns, Data data) {
        for (const Row& r : rows)
            texts.push_back(PaddedItem(r.name, columns, data(r)));
        views.assign(texts.begin(), texts.end());
    }
};

using K = ControlKind;

// The window in creation order. Pages and groups come before their content.
constexpr ControlRow kLayout[] = {
    {K::Page, "TSInfo", "", "项目信息", ""},
    {K::Text, "OBJNameD", "TSInfo", "项目名称", ""},
    {K::Text, "OBJProcD", "TSInfo", "项目阶段", ""},
    {K::Text, "DeviceNameD", "TSInfo", "设备名称", ""},
    {K::Text, "DeviceNoD", "TSInfo", "设备位号", ""},
    {K::Text, "OBJNoteD", "TSInfo", "备注信息", ""},

    {K::Page, "TSCalc", "", "计算", ""},
    {K::Group, "GBBasic", "TSCalc", kBasic, ""},
    {K::Quantity, "TaoD", "GBBasic", "", ""},
    {K::Quantity, "sfD", "GBBasic", "", ""},
    {K::Quantity, "SetErrD", "GBBasic", "", ""},
    {K::Check, "ifMix", "GBBasic", "带搅拌", ""},
    {K::Button, "SBVessel", "GBBasic", "容器定义…", "容器定义"},

    {K::Group, "GBSummary", "TSCalc", kSummary, ""},
    {K::Quantity, "AtD", "GBSummary", "", ""},
    {K::Quantity, "ArD", "GBSummary", "", ""},
    {K::Quantity, "TTaD", "GBSummary", "", ""},
    {K::Quantity, "KTaD", "GBSummary", "", ""},
    {K::Quantity, "LtD", "GBSummary", "", ""},
    {K::Quantity, "WcD", "GBSummary", "", ""},

    {K::Group, "GBVesselSide", "TSCalc", "容器", ""},
    {K::Group, "GBVesselBalance", "GBVesselSide", kVesselBalance, ""},
    {K::Text, "HToD", "GBVesselBalance", "流体类型", ""},
    {K::Choice, "PhoD", "GBVesselBalance", "流体相态", "PhoD"},
    {K::Quantity, "MaoD", "GBVesselBalance", "", ""},
    {K::Quantity, "CopD", "GBVesselBalance", "", ""},
    {K::Quantity, "Tom1D", "GBVesselBalance", "", ""},
    {K::Quantity, "Tom2D", "GBVesselBalance", "", ""},
    {K::Quantity, "QoD", "GBVesselBalance", "", ""},
    {K::Quantity, "VioD", "GBVesselBalance", "", ""},
    {K::Quantity, "LdoD", "GBVesselBalance", "", ""},
    {K::Quantity, "DenoD", "GBVesselBalance", "", ""},
    {K::Quantity, "QLD", "GBVesselBalance", "", ""},
    {K::Quantity, "BtoD", "GBVesselBalance", "", ""},
    {K::Text, "LaoD", "GBVesselBalance", "", "0.00"},
    {K::Label, "LaOL", "GBVesselBalance", "不凝气体", ""},
    {K::Label, "LaOU", "GBVesselBalance", "%", ""},
    {K::Rich, "CmtoD", "GBVesselBalance", "备注", ""},
    {K::Button, "SBP1", "GBVesselBalance", "物性", "物性数据库"},
    {K::Button, "SBP11", "GBVesselBalance", "膨胀系数", "选择膨胀系数"},

    {K::Group, "GBVesselParams", "GBVesselSide", kVesselParams, ""},
    {K::Choice, "SmD", "GBVesselParams", "容器材质", "SmD"},
    {K::Choice, "PmD", "GBVesselParams", "保温材料", "PmD"},
    {K::Choice, "EVTD", "GBVesselParams", "散热方向", "EVTD"},
    {K::Quantity, "BpD", "GBVesselParams", "", ""},
    {K::Quantity, "TwaD", "GBVesselParams", "", ""},
    {K::Quantity, "TeD", "GBVesselParams", "", ""},
    {K::Quantity, "KeD", "GBVesselParams", "", ""},
    {K::Quantity, "AeD", "GBVesselParams", "", ""},
    {K::Quantity, "StD", "GBVesselParams", "", ""},
    {K::Quantity, "KcD", "GBVesselParams", "", ""},

    {K::Group, "GBTubeSide", "TSCalc", "传热管", ""},
    {K::Group, "GBTubeBalance", "GBTubeSide", kTubeBalance, ""},
    {K::Choice, "PhiD", "GBTubeBalance", "流体相态", "PhiD"},
    {K::Text, "HTiD", "GBTubeBalance", "流体类型", ""},
    {K::Quantity, "WiD", "GBTubeBalance", "", ""},
    {K::Quantity, "CipD", "GBTubeBalance", "", ""},
    {K::Quantity, "Ti1D", "GBTubeBalance", "", ""},
    {K::Quantity, "Ti2D", "GBTubeBalance", "", ""},
    {K::Quantity, "QiD", "GBTubeBalance", "", ""},
    {K::Quantity, "DHiD", "GBTubeBalance", "", ""},
    {K::Quantity, "ViiD", "GBTubeBalance", "", ""},
    {K::Quantity, "LdiD", "GBTubeBalance", "", ""},
    {K::Quantity, "DeniD", "GBTubeBalance", "", ""},
    {K::Quantity, "denivD", "GBTubeBalance", "", ""},
    {K::Quantity, "PivD", "GBTubeBalance", "", ""},
    {K::Quantity, "ViivD", "GBTubeBalance", "", ""},
    {K::Quantity, "LaiD", "GBTubeBalance", "", ""},
    {K::Rich, "CmttD", "GBTubeBalance", "备注", ""},
    {K::Button, "SBP2", "GBTubeBalance", "物性", "物性数据库"},
    {K::Button, "SBP2v", "GBTubeBalance", "蒸汽物性", "物性数据库"},

    {K::Group, "GBTubeParams", "GBTubeSide", kTubeParams, ""},
    {K::Choice, "TmD", "GBTubeParams", "管子材质", "TmD"},
    {K::Choice, "TShapeD", "GBTubeParams", "管子形式", "TShapeD"},
    {K::Quantity, "dioD", "GBTubeParams", "", ""},
    {K::Quantity, "diiD", "GBTubeParams", "", ""},
    {K::Quantity, "kiD", "GBTubeParams", "", ""},
    {K::Quantity, "RiD", "GBTubeParams", "", ""},
    {K::Quantity, "UivD", "GBTubeParams", "", ""},
    {K::Quantity, "UiD", "GBTubeParams", "", ""},
    {K::Quantity, "DpiD", "GBTubeParams", "", ""},
    {K::Quantity, "EiD", "GBTubeParams", "", ""},
    {K::Quantity, "RoD", "GBTubeParams", "", ""},
    {K::Quantity, "DspD", "GBTubeParams", "", ""},
    {K::Quantity, "SlD", "GBTubeParams", "", ""},
    {K::Quantity, "mD", "GBTubeParams", "", ""},
    {K::Quantity, "koD", "GBTubeParams", "", ""},
    {K::Button, "SBDi", "GBTubeParams", "钢管", "选择钢管系列"},
    {K::Button, "SBP5", "GBTubeParams", "粗糙度", "选择绝对粗糟度"},
    {K::Button, "SBP3", "GBTubeParams", "螺距", "选择螺距"},

    {K::Page, "TSPipes", "", "管道系列", ""},
    {K::PushButton, "BTPipeMaintain", "TSPipes", "维护", ""},
    {K::PushButton, "BTPipeSelect", "TSPipes", "选择", ""},

    {K::Page, "TSVessel", "", "容器定义", ""},
    {K::Group, "GBVessel", "TSVessel", kGeometry, ""},
    {K::Choice, "VND", "GBVessel", "容器选择", "VND"},
    {K::Quantity, "VsD", "GBVessel", "", ""},
    {K::Quantity, "KvD", "GBVessel", "", ""},
    {K::Quantity, "Ae1D", "GBVessel", "", ""},
    {K::Quantity, "WsD", "GBVessel", "", ""},
    {K::Quantity, "HsD", "GBVessel", "", ""},
    {K::Quantity, "DsD", "GBVessel", "", ""},
    {K::Group, "GBMix", "TSVessel", kStirrer, ""},
    {K::Choice, "mitD", "GBMix", "搅拌器型式", "mitD"},
    {K::Quantity, "midD", "GBMix", "", ""},
    {K::Quantity, "rvD", "GBMix", "", ""},
    {K::PushButton, "BTVessel", "TSVessel", "确定", ""},

    {K::Page, "TSReport", "", "计算报告", ""},
    {K::Rich, "RichEditReport", "TSReport", "", ""},
};

} // namespace

std::span<const FieldRow> FieldTable() {
    return kFields;
}
std::span<const std::span<const UnitItem>> UnitLists() {
    return kUnitLists;
}
std::span<const ControlRow> MainLayout() {
    return kLayout;
}
std::span<const ChoiceList> ChoiceLists() {
    static const ItemTexts stirrers(std::span<const StirrerRow>(kStirrers), 24,
                                    [](const StirrerRow& r) {
                                        char buf[32];
                                        std::snprintf(buf, sizeof buf, "%.2f,%.2f", r.a1, r.a2);
                                        return std::string(buf);
                                    });
    auto conductivity = [](const MaterialRow& r) { return Shortest(r.conductivity); };
    static const ItemTexts walls(std::span<const MaterialRow>(kWalls), 41, conductivity);
    static const ItemTexts insulations(std::span<const MaterialRow>(kInsulations), 41,
                                       conductivity);
    static const ChoiceList lists[] = {
        {"PhoD", kPhoItems, 0},        {"PhiD", kPhiItems, 0},
        {"TShapeD", kTShapeItems, 0},  {"EVTD", kEvtItems, 0},
        {"VND", kVesselItems, 0},      {"mitD", stirrers.views, 0},
        {"SmD", walls.views, 0},       {"TmD", std::span(walls.views).first(kTubeMaterials), 0},
        {"PmD", insulations.views, 0},
    };
    return lists;
}

std::span<const StirrerRow> Stirrers() {
    return kStirrers;
}
std::span<const MaterialRow> WallMaterials() {
    return kWalls;
}
std::span<const MaterialRow> TubeMaterials() {
    return std::span(kWalls).first(kTubeMaterials);
}
std::span<const MaterialRow> InsulationMaterials() {
    return kInsulations;
}

const FieldRow* FindField(std::string_view name) {
    for (const auto& f : kFields)
        if (EqualsIgnoreAsciiCase(f.name, name)) return &f;
    return nullptr;
}

const ChoiceList* FindChoiceList(std::string_view name) {
    for (const auto& c : ChoiceLists())
        if (EqualsIgnoreAsciiCase(c.name, name)) return &c;
    return nullptr;
}

std::string BaseName(std::string_view controlName) {
    if (!controlName.empty() && controlName.back() == 'D') controlName.remove_suffix(1);
    return std::string(controlName);
}

std::string LabelName(std::string_view controlName) {
    return BaseName(controlName) + "L";
}

std::string SelectorName(std::string_view fieldName) {
    if (fieldName == "DHiD") return "DhiU";
    return BaseName(fieldName) + "U";
}

} // namespace kolvane
