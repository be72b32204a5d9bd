#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kolvane {

// The reference tables beside the program (Piples.db): the steel pipe series
// "Piples1" and the liquids' expansion coefficients "Expand1".
struct PipeRow {
    int id = 0;
    std::string dn;     // designation, outside diameter × wall in mm: "57×3.5"
    double outside = 0; // Do, mm, as stored
    double inside = 0;  // Di, mm, as stored
};
struct ExpansionRow {
    int id = 0;
    std::string name; // DN: the liquid
    double ec = 0;    // expansion coefficient in 1E-4 per K
};

struct PipeSize {
    double outside, inside; // mm
};
// Outside and inside diameter of a designation; Error naming the text when
// it has no "×", a part is no number, or the wall leaves no bore.
PipeSize ParseDesignation(std::string_view dn);

class RefTables {
public:
    // Reads both tables; a missing or unreadable file leaves them empty and
    // `problem()` says why.
    void open(const std::string& path);
    bool available() const { return problem_.empty() && !path_.empty(); }
    const std::string& problem() const { return problem_; }
    const std::string& path() const { return path_; }

    std::vector<PipeRow>& pipes() { return pipes_; }
    const std::vector<PipeRow>& pipes() const { return pipes_; }
    const std::vector<ExpansionRow>& expansion() const { return expansion_; }
    int currentPipe() const { return currentPipe_; }
    void setCurrentPipe(int index);

    // Recomputes Do and Di of every row from its designation and stores
    // them in one transaction. Rows whose designation does not parse keep
    // what they had and are returned, one message each.
    std::vector<std::string> maintain();

private:
    std::string path_, problem_;
    std::vector<PipeRow> pipes_;
    std::vector<ExpansionRow> expansion_;
    int currentPipe_ = 0;
};

} // namespace kolvane
