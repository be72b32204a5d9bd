#pragma once

#include <string>
#include <vector>

namespace kolvane {

class TFormKolvane;

// A report as paragraphs of styled runs; the writers turn it into plain
// text or RTF, the window shows it, printing and PDF lay it out.
struct ReportRun {
    std::string text; // UTF-8, no line breaks
    std::string font = "宋体";
    double points = 10.5;
    int color = 0; // 0x00BBGGRR; 0 black
    bool bold = false, italic = false, underline = false;
};
struct ReportParagraph {
    std::vector<ReportRun> runs;
};

class ReportDocument {
public:
    // Appends a run to the last paragraph (or the first, at the start of an
    // empty document); a line break ends the paragraph.
    void AppendStyledRun(const std::string& text, const std::string& font, double points, int color,
                         bool bold, bool italic, bool underline, bool lineBreak);
    // A data line in the default style.
    void AppendLine(const std::string& text);
    const std::vector<ReportParagraph>& paragraphs() const { return paragraphs_; }
    bool empty() const { return paragraphs_.empty(); }

private:
    std::vector<ReportParagraph> paragraphs_;
    bool open_ = false; // the last paragraph takes more runs
};

// The report of the window as it stands: title with the vessel type, rule,
// the blocks of inputs and results (enabled fields only, numbers in
// ReportFloatStr's form, columns of 20 cells counted in GBK bytes; the steam
// pressure when the medium condenses and it has a value, the comment boxes
// with text after their side's balance), then the warnings of the last
// pass, the heating curve at eleven points and the dynamic check when there
// are any.
ReportDocument BuildReport(const TFormKolvane& window);

// The character cells of a text: its GBK bytes, so a Chinese character
// takes two; the UTF-8 bytes of a text that GBK cannot encode.
std::size_t TextCells(const std::string& text);

// Text padded with blanks to `cells` character cells, a Chinese character
// taking two (its GBK bytes); a longer text is left as it is.
std::string PadCells(const std::string& text, std::size_t cells);

// Plain UTF-8 text, one paragraph a line ("\n").
std::string ReportPlainText(const ReportDocument& doc);
// Rich Text Format: code page 936, a font table with 宋体 (charset 134),
// sizes in half-points, bold/italic/underline runs, Unicode escapes with GBK
// fallbacks for Chinese; "\", "{" and "}" of user text escaped.
std::string ReportRtf(const ReportDocument& doc);

// The heating curve as CSV: "t_s,T_theoretical_C,T_actual_C,T_check_C" and
// `rows` rows from 0 to the heating time, the last column the dynamic
// check's curve with the actual area (empty where the check did not run);
// empty when the last pass gave no area.
std::string HeatingCurveCsv(const TFormKolvane& window, int rows = 101);

} // namespace kolvane
