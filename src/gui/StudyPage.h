#pragma once

#include "form/StudyRecord.h"

#include <QWidget>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QChart;
class QChartView;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;
class QTimer;

namespace kolvane {

class TFormKolvane;

// The page "设计研究": a sweep of one or two inputs, the uncertainty band
// of the area and the search for a tube layout, each made from the
// calculation as the last pass left it and run off the window's thread,
// with progress in the status bar's progress panel and a cancel button.
// Results are kept in the window's StudyRecord; when the calculation's
// inputs change they are cleared, never shown for other inputs.
class StudyPage : public QWidget {
    Q_OBJECT
public:
    using Guard = std::function<void(const std::function<void()>&)>;
    StudyPage(TFormKolvane& window, QProgressBar* progress, Guard guard, QWidget* parent = nullptr);
    ~StudyPage() override;

    // After a pass: results of other inputs are cleared, the lists of
    // inputs and outputs follow the options.
    void passChanged();

    // The three parts, as the buttons run them; `wait` blocks until the run
    // has finished (tests, screenshots). False when a run could not start
    // (another is running, an input is wrong: told in the page's note).
    bool runSweep(bool wait = false);
    bool runBand(bool wait = false);
    bool runLayout(bool wait = false);
    void cancel();
    bool running() const { return running_ != nullptr; }
    // "采用": the layout in row `row` of the table into the calculation page.
    void applyLayout(int row);
    // Writes the sweep's table as CSV; throws IoError when it cannot.
    void writeSweepCsv(const std::string& path) const;

    // The page's controls, for tests and screenshots.
    QTabWidget* parts() const { return parts_; }
    QComboBox* axisField(int axis) const { return axes_[axis].field; }
    QLineEdit* axisFrom(int axis) const { return axes_[axis].from; }
    QLineEdit* axisTo(int axis) const { return axes_[axis].to; }
    QSpinBox* axisPoints(int axis) const { return axes_[axis].points; }
    QCheckBox* axisLog(int axis) const { return axes_[axis].log; }
    QListWidget* outputs() const { return outputs_; }
    QTableWidget* sweepTable() const { return sweepTable_; }
    QTableWidget* layoutTable() const { return layoutTable_; }
    QLabel* note() const { return note_; }
    QLabel* bandSummary() const { return bandSummary_; }
    QCheckBox* inReport() const { return inReport_; }
    QSpinBox* samples() const { return samples_; }
    // Gives a typed input a scatter of ±percent in the band ("" when it
    // can, else why not); 0 takes it out again.
    QString setScatter(const std::string& fieldName, double percent);
    QComboBox* rank() const { return rank_; }
    // Selects the sweep input by field, "" for none on the second axis.
    bool chooseAxis(int axis, const std::string& fieldName);
    // Checks exactly the outputs named ("AtD", "areaNeeded", …).
    void chooseOutputs(const std::vector<std::string>& names);

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct AxisControls {
        QComboBox* field = nullptr;
        QLineEdit *from = nullptr, *to = nullptr;
        QSpinBox* points = nullptr;
        QCheckBox* log = nullptr;
        QLabel* unit = nullptr;
    };
    struct Running;

    QWidget* buildSweep();
    QWidget* buildBand();
    QWidget* buildLayout();
    // The inputs a sweep may vary and the outputs it may show, for the
    // calculation as it stands; the choices kept where they still exist.
    void fillChoices();
    void showUnit(int axis);
    void showSweep();
    void showBand();
    void showLayout();
    void say(const QString& text, bool problem);
    // Starts `work` on a worker thread. Back on the window's thread what it
    // made goes into the record's `slot` and is shown with `show`, unless
    // the inputs changed meanwhile; an error it raised is told.
    template <class R>
    bool start(std::function<R(const StudyControl&)> work, std::optional<R> StudyRecord::*slot,
               void (StudyPage::*show)(), bool wait);
    void finish();
    void setRunning(bool on);

    TFormKolvane& window_;
    QProgressBar* progress_;
    Guard guard_;
    QTabWidget* parts_ = nullptr;
    QLabel* note_ = nullptr;
    QCheckBox* inReport_ = nullptr;
    std::vector<QPushButton*> runButtons_, cancelButtons_;

    AxisControls axes_[2];
    QListWidget* outputs_ = nullptr;
    QComboBox* chartOutput_ = nullptr;
    QChart* sweepChart_ = nullptr;
    QTableWidget* sweepTable_ = nullptr;
    QPushButton* csv_ = nullptr;

    QSpinBox *samples_ = nullptr, *seed_ = nullptr;
    QComboBox* scatterField_ = nullptr;
    QDoubleSpinBox* scatterPercent_ = nullptr;
    QListWidget* scatterList_ = nullptr;
    QLabel* bandSummary_ = nullptr;
    QChart *bandChart_ = nullptr, *tornadoChart_ = nullptr;

    QDoubleSpinBox *clearance_ = nullptr, *vMin_ = nullptr, *vMax_ = nullptr, *steamMax_ = nullptr,
                   *dpMax_ = nullptr;
    QComboBox* rank_ = nullptr;
    QLabel* layoutSummary_ = nullptr;
    QTableWidget* layoutTable_ = nullptr;
    QPushButton* apply_ = nullptr;

    // What the page shows, so that a pass redraws only what it cleared.
    bool shownSweep_ = false, shownBand_ = false, shownLayout_ = false;
    // The lists of inputs and outputs wait for the page to be shown.
    bool choicesStale_ = false;
    std::unique_ptr<Running> running_;
    QTimer* progressTimer_ = nullptr;
};

} // namespace kolvane
