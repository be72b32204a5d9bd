// The calculation report: its generation from the window and its writers.
#include "report/Report.h"

#include "engine/MainFormTables.h"
#include "files/TextCodec.h"
#include "form/ComboBoxU.h"
#include "form/Controls.h"
#include "form/FormKolvane.h"
#include "formula/NumberFormat.h"
#include "model/BatchCheck.h"
#include "model/Errors.h"
#include "model/HeatingCurve.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace kolvane {

namespace {

constexpr const char* kFont = "宋体";
constexpr double kDataPoints = 10.5; // the report box's default, 14 px at 96 dpi
const std::string kIndent(8, ' ');

std::size_t GbkCells(const std::string& text) {
    try {
        return Utf8ToGb18030(text).size();
    } catch (const Error&) {
        return text.size();
    }
}

// One report line of a control, found by the window's naming pattern: the
// caption in <base>L, the value in <base>D, the unit in <base>U.
struct LineParts {
    std::string caption, value, unit;
    bool enabled = false;
};

LineParts PartsOf(const TFormKolvane& w, const std::string& name) {
    const std::string base = BaseName(name);
    LineParts p;
    const Form& f = w.form();
    if (auto* l = f.findAs<TLabel>(base + "L")) p.caption = l->caption();
    if (Component* c = f.find(base + "D")) {
        p.enabled = c->enabled();
        if (auto* e = dynamic_cast<const TEdit*>(c))
            p.value = e->text();
        else if (auto* list = dynamic_cast<const TComboBox*>(c))
            p.value = list->text();
    }
    if (auto* u = f.findAs<TComboBox>(base + "U")) p.unit = ItemLabel(u->text());
    return p;
}

// A field's text as the report prints it: a number in the report's form
// (in its display unit, as shown), any other text unchanged.
std::string ReportValue(const std::string& text) {
    if (auto x = ParseExactReal(TrimControl(text))) return ReportFloatStr(*x);
    return text;
}

std::string Line(const LineParts& p, const std::string& value) {
    return kIndent + PadCells(p.caption, 20) + PadCells(value, 20) + PadCells(p.unit, 20);
}

class Generator {
public:
    explicit Generator(const TFormKolvane& w) : w_(w) {}

    void heading(const char* text) {
        if (blocks_++) doc_.AppendLine("");
        doc_.AppendStyledRun(text, kFont, 11, 0, true, false, false, true);
    }
    // Enabled fields, a number as shown with four decimals.
    void fields(std::initializer_list<const char*> names) {
        for (const char* n : names) {
            const LineParts p = PartsOf(w_, n);
            if (!p.enabled) continue;
            doc_.AppendLine(Line(p, ReportValue(p.value)));
        }
    }
    // The steam pressure where it holds one: it is optional, and with a
    // single-phase medium it means nothing.
    void steamPressure() {
        const LineParts p = PartsOf(w_, "PivD");
        if (w_.list("PhiD").itemIndex() == 1 && !TrimControl(p.value).empty())
            doc_.AppendLine(Line(p, ReportValue(p.value)));
    }
    // A comment box with text: its caption, then its lines in the value
    // column, one report line each.
    void comment(const char* name) {
        const std::vector<std::string> lines = w_.form().get<TRichEdit>(name).lines();
        std::size_t end = lines.size();
        while (end > 0 && TrimControl(lines[end - 1]).empty())
            --end;
        const std::string caption = PartsOf(w_, name).caption;
        for (std::size_t i = 0; i < end; ++i) {
            std::string line = lines[i];
            while (!line.empty() && static_cast<unsigned char>(line.back()) <= ' ')
                line.pop_back();
            doc_.AppendLine(kIndent + PadCells(i == 0 ? caption : std::string(), 20) + line);
        }
    }
    // Enabled controls, their text cut before `separator` when one is given.
    void choice(const char* name, const char* separator = nullptr) {
        const LineParts p = PartsOf(w_, name);
        if (!p.enabled) return;
        std::string value = p.value;
        if (separator) {
            const std::size_t at = value.find(separator);
            value = at == std::string::npos ? std::string()
                                            : std::string(TrimControl(value.substr(0, at)));
        }
        doc_.AppendLine(Line(p, value));
    }
    void twoColumns(const char* caption, const std::string& value) {
        doc_.AppendLine(kIndent + PadCells(caption, 20) + PadCells(value, 20));
    }

    ReportDocument run();

private:
    void warnings();
    void curve();
    void check();
    void studies();
    void band(const UncertaintyResult& u);
    void sweep(const SweepRecord& s);

    const TFormKolvane& w_;
    ReportDocument doc_;
    int blocks_ = 0;
};

ReportDocument Generator::run() {
    doc_.AppendStyledRun("", kFont, 10, 0, false, false, false, true);
    doc_.AppendStyledRun(std::string(10, ' ') + w_.list("VND").text() + "容器传热计算报告", kFont,
                         14, 0, true, false, false, true);
    std::string rule = "        ";
    for (int i = 0; i < 17; ++i)
        rule += "━";
    doc_.AppendStyledRun(rule, kFont, 14, 0, true, false, false, true);
    doc_.AppendLine("");

    heading("       项目信息:");
    fields({"OBJNameD", "OBJProcD", "DeviceNameD", "DeviceNoD", "OBJNoteD"});
    heading("       基本参数:");
    fields({"TaoD"});
    choice("SetErrD");
    fields({"sfD"});
    heading("       容器几何参数:");
    choice("VND");
    fields({"VsD", "KvD", "Ae1D", "DsD", "HsD", "WsD"});
    if (w_.form().get<TCheckBox>("ifMix").checked()) {
        heading("       搅拌器参数:");
        choice("mitD", "|");
        fields({"midD", "rvD"});
    }
    heading("       容器物性及热量平衡，物性:");
    fields({"CopD", "DenoD", "VioD", "LdoD", "BtoD"});
    heading("       容器物性及热量平衡，工艺和热量平衡数据:");
    twoColumns("流体相态", w_.list("PhoD").text());
    twoColumns("流体类型", w_.form().get<TEdit>("HToD").text());
    fields({"MaoD", "Tom1D", "Tom2D", "QoD", "QLD"});
    comment("CmtoD");
    heading("       容器参数及计算结果:");
    fields({"AeD"});
    choice("SmD", "|");
    fields({"StD"});
    choice("PmD", "|");
    fields({"BpD"});
    choice("EVTD");
    fields({"KeD", "KcD", "TwaD", "TeD"});
    heading("       管程物性及热量平衡，物性:");
    fields({"CipD", "DeniD", "ViiD", "LdiD", "DHiD", "denivD", "ViivD"});
    steamPressure();
    heading("       管程物性及热量平衡，工艺和热量平衡数据:");
    choice("PhiD");
    choice("HTiD");
    fields({"LaiD", "WiD", "Ti1D", "Ti2D", "QiD"});
    comment("CmttD");
    heading("       管程参数及计算结果:");
    choice("TShapeD");
    fields({"EiD", "dioD", "diiD"});
    choice("TmD", "|");
    fields({"DspD", "SlD", "mD", "UivD", "UiD", "DpiD", "RiD", "RoD", "kiD", "koD"});
    heading("       简明计算结果:");
    fields({"AtD", "ArD", "LtD", "TTaD", "KTaD", "WcD"});
    warnings();
    curve();
    check();
    studies();
    return std::move(doc_);
}

void Generator::warnings() {
    const PassReport& r = w_.lastPass();
    if (r.warnings.empty()) return;
    heading("       警告:");
    for (const auto& warning : r.warnings)
        doc_.AppendLine(kIndent + warning.text);
}

namespace {
// The heating time's own unit: its label and factor to seconds.
struct TimeUnit {
    std::string label;
    double factor;
};
TimeUnit TimeUnitOf(const TFormKolvane& w) {
    const TEditD& tau = w.field("TaoD");
    const TComboBoxU* unit = w.selectorOf(tau);
    return {unit ? unit->unitLabel() : "S", tau.exchange() > 0 ? tau.exchange() : 1.0};
}
} // namespace

void Generator::curve() {
    const PassReport& r = w_.lastPass();
    if (!r.hasCurve || !(r.heatingTime > 0)) return;
    heading("       升温曲线:");
    // Time in the heating-time field's own unit.
    const TimeUnit unit = TimeUnitOf(w_);
    doc_.AppendLine(kIndent + PadCells("时间(" + unit.label + ")", 20) +
                    PadCells("理论面积(C)", 20) + PadCells("实际面积(C)", 20) +
                    (r.hasCheck ? PadCells("动态校核(C)", 20) : ""));
    std::array<double, 11> times{}, checked{};
    for (int i = 0; i <= 10; ++i)
        times[i] = r.heatingTime * i / 10;
    if (r.hasCheck) CheckedTemperatures(r.checkInputs, r.actualArea, times, checked);
    for (int i = 0; i <= 10; ++i) {
        const double t = times[i];
        doc_.AppendLine(
            kIndent + PadCells(ReportFloatStr(t / unit.factor), 20) +
            PadCells(FormatFixed(CurveTemperature(r.curve, r.theoreticalArea, t), 2), 20) +
            PadCells(FormatFixed(CurveTemperature(r.curve, r.actualArea, t), 2), 20) +
            (r.hasCheck ? PadCells(FormatFixed(checked[i], 2), 20) : ""));
    }
    if (auto reached = TimeToReach(r.curve, r.actualArea, r.target))
        doc_.AppendLine(kIndent + "实际面积于 " + ReportFloatStr(*reached / unit.factor) + " " +
                        unit.label + " 达到目标温度");
}

void Generator::check() {
    const PassReport& r = w_.lastPass();
    if (!r.hasCheck) return;
    heading("       校核:");
    const TimeUnit unit = TimeUnitOf(w_);
    auto time = [&](const char* caption, const std::optional<double>& t) {
        doc_.AppendLine(kIndent + PadCells(caption, 20) +
                        (t ? PadCells(ReportFloatStr(*t / unit.factor), 20) + unit.label
                           : std::string("未达到")));
    };
    if (r.hasActualArea) time("实际面积达标时间", r.check.tActual);
    time("理论面积达标时间", r.check.tTheoretical);
    if (r.check.areaNeeded) {
        doc_.AppendLine(kIndent + PadCells("动态校核所需面积", 20) +
                        PadCells(ReportFloatStr(*r.check.areaNeeded), 20) + "m2");
        doc_.AppendLine(kIndent + PadCells("所需面积/理论面积", 20) +
                        ReportFloatStr(*r.checkRatio()));
    } else {
        doc_.AppendLine(kIndent + PadCells("动态校核所需面积", 20) +
                        (r.check.note ? r.check.note : ""));
    }
}

// The sweep's rows the report lists; a longer sweep is exported as CSV.
constexpr std::size_t kReportSweepRows = 100;

void Generator::studies() {
    const StudyRecord& st = w_.studies();
    if (!st.inReport || (!st.band && !st.sweep)) return;
    heading("       设计研究:");
    // A study of other inputs than the report's would be read as theirs.
    bool stale = false;
    if (st.band && SameInputs(st.band->base, w_.lastCase()))
        band(st.band->result);
    else
        stale = stale || st.band.has_value();
    if (st.sweep && SameInputs(st.sweep->base, w_.lastCase()))
        sweep(*st.sweep);
    else
        stale = stale || st.sweep.has_value();
    if (stale)
        doc_.AppendLine(kIndent + "研究之后输入已改变，其结果未列入报告：请在设计研究页重新计算");
}

void Generator::band(const UncertaintyResult& u) {
    doc_.AppendLine(kIndent + "面积的不确定度（" + std::to_string(u.samples) + " 次抽样，种子 " +
                    std::to_string(u.seed) + "）:");
    auto three = [](const Percentiles& p, double factor) {
        auto f = [factor](double v) {
            return std::isfinite(v) ? ReportFloatStr(v / factor) : std::string("未达到");
        };
        return f(p.p10) + " / " + f(p.p50) + " / " + f(p.p90);
    };
    if (u.areaNeeded)
        doc_.AppendLine(kIndent + PadCells("所需面积 P10/P50/P90", 24) +
                        PadCells(three(*u.areaNeeded, 1), 36) + "m2");
    if (u.tActual) {
        const TimeUnit unit = TimeUnitOf(w_);
        doc_.AppendLine(kIndent + PadCells("达标时间 P10/P50/P90", 24) +
                        PadCells(three(*u.tActual, unit.factor), 36) + unit.label);
    }
    if (u.failed > 0)
        doc_.AppendLine(kIndent + std::to_string(u.failed) + " 次抽样无法计算，未计入");
    if (!u.controllingText.empty()) doc_.AppendLine(kIndent + u.controllingText);
    if (!u.warning.empty()) doc_.AppendLine(kIndent + u.warning);
    for (const TornadoBar& b : u.tornado)
        if (std::isfinite(b.low) && std::isfinite(b.high))
            doc_.AppendLine(kIndent + PadCells(b.factor, 44) + ReportFloatStr(b.low) + " ~ " +
                            ReportFloatStr(b.high) + " m2");
}

void Generator::sweep(const SweepRecord& s) {
    doc_.AppendLine(kIndent + "参数研究（" + std::to_string(s.points.size()) + " 点）:");
    // Each column as wide as its heading, at least 14 cells.
    std::vector<std::size_t> widths;
    std::string line = kIndent;
    for (const std::string& h : s.headings) {
        widths.push_back(std::max<std::size_t>(14, TextCells(h) + 2));
        line += PadCells(h, widths.back());
    }
    doc_.AppendLine(line);
    const std::size_t rows = std::min(s.points.size(), kReportSweepRows);
    for (std::size_t k = 0; k < rows; ++k) {
        const SweepPoint& p = s.points[k];
        line = kIndent;
        std::size_t col = 0;
        for (const auto* values : {&p.inputs, &p.results})
            for (double v : *values)
                line += PadCells(std::isfinite(v) ? ReportFloatStr(v) : std::string("-"),
                                 widths[std::min(col++, widths.size() - 1)]);
        doc_.AppendLine(line + p.message);
    }
    if (rows < s.points.size())
        doc_.AppendLine(kIndent + "（只列出前 " + std::to_string(rows) +
                        " 点，全部结果请在设计研究页导出CSV）");
}

// Unicode code points of a UTF-8 text, each with its bytes.
template <typename F> void ForEachChar(const std::string& s, F&& f) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : 4;
        if (i + len > s.size()) len = s.size() - i;
        char32_t cp = len == 1 ? c : len == 2 ? c & 0x1F : len == 3 ? c & 0x0F : c & 0x07;
        for (std::size_t k = 1; k < len; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        f(cp, s.substr(i, len));
        i += len;
    }
}

std::string RtfText(const std::string& text) {
    std::string out;
    ForEachChar(text, [&out](char32_t cp, const std::string& bytes) {
        if (cp < 0x80) {
            if (cp == '\\' || cp == '{' || cp == '}') out += '\\';
            if (cp >= 0x20) out += static_cast<char>(cp);
            return;
        }
        // \uN takes a signed 16-bit number; beyond the BMP a surrogate pair.
        auto unicode = [&out](char32_t u) {
            out += "\\u" + std::to_string(static_cast<int>(static_cast<std::int16_t>(u)));
        };
        std::string gbk;
        try {
            gbk = Utf8ToGb18030(bytes);
        } catch (const Error&) {
        }
        if (cp > 0xFFFF) {
            // Each half with its own fallback: a reader skips one character
            // after every \u, and a control word counts as one.
            out += "{\\uc1";
            unicode(0xD800 + ((cp - 0x10000) >> 10));
            out += "?";
            unicode(0xDC00 + ((cp - 0x10000) & 0x3FF));
            out += "?}";
            return;
        }
        if (gbk.size() == 2) {
            unicode(cp);
            char hex[16];
            std::snprintf(hex, sizeof hex, "\\'%02x\\'%02x", static_cast<unsigned char>(gbk[0]),
                          static_cast<unsigned char>(gbk[1]));
            out += hex;
        } else {
            out += "{\\uc1";
            unicode(cp);
            out += "?}";
        }
    });
    return out;
}

} // namespace

std::size_t TextCells(const std::string& text) {
    return GbkCells(text);
}

std::string PadCells(const std::string& text, std::size_t cells) {
    const std::size_t have = GbkCells(text);
    return have >= cells ? text : text + std::string(cells - have, ' ');
}

void ReportDocument::AppendStyledRun(const std::string& text, const std::string& font,
                                     double points, int color, bool bold, bool italic,
                                     bool underline, bool lineBreak) {
    if (!open_) {
        paragraphs_.emplace_back();
        open_ = true;
    }
    paragraphs_.back().runs.push_back({text, font, points, color, bold, italic, underline});
    if (lineBreak) open_ = false;
}

void ReportDocument::AppendLine(const std::string& text) {
    AppendStyledRun(text, kFont, kDataPoints, 0, false, false, false, true);
}

ReportDocument BuildReport(const TFormKolvane& window) {
    return Generator(window).run();
}

std::string ReportPlainText(const ReportDocument& doc) {
    std::string out;
    for (const ReportParagraph& p : doc.paragraphs()) {
        for (const ReportRun& r : p.runs)
            out += r.text;
        out += '\n';
    }
    return out;
}

std::string ReportRtf(const ReportDocument& doc) {
    std::vector<std::string> fonts;
    auto fontIndex = [&fonts](const std::string& f) {
        for (std::size_t i = 0; i < fonts.size(); ++i)
            if (fonts[i] == f) return i;
        fonts.push_back(f);
        return fonts.size() - 1;
    };
    fontIndex(kFont);
    std::vector<int> colors = {0};
    auto colorIndex = [&colors](int c) {
        for (std::size_t i = 0; i < colors.size(); ++i)
            if (colors[i] == c) return i;
        colors.push_back(c);
        return colors.size() - 1;
    };
    std::string body;
    for (const ReportParagraph& p : doc.paragraphs()) {
        body += "\\pard\\plain";
        for (const ReportRun& r : p.runs) {
            body += "{\\f" + std::to_string(fontIndex(r.font)) + "\\fs" +
                    std::to_string(static_cast<int>(r.points * 2 + 0.5)) + "\\cf" +
                    std::to_string(colorIndex(r.color) + 1);
            if (r.bold) body += "\\b";
            if (r.italic) body += "\\i";
            if (r.underline) body += "\\ul";
            body += " " + RtfText(r.text) + "}";
        }
        body += "\\par\n";
    }
    std::string out = "{\\rtf1\\ansi\\ansicpg936\\deff0\\uc2\n{\\fonttbl";
    for (std::size_t i = 0; i < fonts.size(); ++i)
        out += "{\\f" + std::to_string(i) + "\\fnil\\fcharset134 " + RtfText(fonts[i]) + ";}";
    out += "}\n{\\colortbl;";
    for (int c : colors) {
        out += "\\red" + std::to_string(c & 0xFF) + "\\green" + std::to_string((c >> 8) & 0xFF) +
               "\\blue" + std::to_string((c >> 16) & 0xFF) + ";";
    }
    out += "}\n" + body + "}\n";
    return out;
}

std::string HeatingCurveCsv(const TFormKolvane& window, int rows) {
    const PassReport& r = window.lastPass();
    if (!r.hasCurve || !(r.heatingTime > 0) || rows < 2) return {};
    std::vector<double> times(rows), checked(rows);
    for (int i = 0; i < rows; ++i)
        times[i] = r.heatingTime * i / (rows - 1);
    if (r.hasCheck) CheckedTemperatures(r.checkInputs, r.actualArea, times, checked);
    std::string out = "t_s,T_theoretical_C,T_actual_C,T_check_C\n";
    for (int i = 0; i < rows; ++i) {
        const double t = times[i];
        out += FloatToStr15(t) + "," +
               FloatToStr15(CurveTemperature(r.curve, r.theoreticalArea, t)) + "," +
               FloatToStr15(CurveTemperature(r.curve, r.actualArea, t)) + "," +
               (r.hasCheck ? FloatToStr15(checked[i]) : std::string()) + "\n";
    }
    return out;
}

} // namespace kolvane
