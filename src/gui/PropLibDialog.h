#pragma once

#include "gui/EditDWidget.h"

#include <QDialog>
#include <map>
#include <string>
#include <string_view>
#include <vector>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;
class QToolButton;

namespace kolvane {

class MyValuesWidget;
class TFormKolvane;
class TFormSimpPL;
class UiServices;

// The property library window, a view of TFormSimpPL: the records on the
// left with the navigator above them, the properties page (current record,
// parameter grid, six results) and the maintenance page on the right. The
// core keeps the state; every widget is brought up to date from it after
// each command, so a command that fails leaves the view as the core is.
class PropLibDialog : public QDialog {
    Q_OBJECT
public:
    PropLibDialog(TFormSimpPL& library, TFormKolvane& main, UiServices& ui, Guard guard,
                  QWidget* parent = nullptr);
    ~PropLibDialog() override;

    // Shows the window modally. True when the user confirmed and the
    // results went into the main window.
    bool run();
    // The state of a fresh opening, without showing the window: empty access
    // code, nothing confirmed, every widget up to date.
    void prepare();
    bool confirmed() const { return confirmed_; }

    // Brings every widget up to date with the library.
    void sync();

    QTableWidget* recordList() const { return list_; }
    QTabWidget* pages() const { return pages_; }
    QLineEdit* accessCode() const { return code_; }
    MyValuesWidget* grid() const { return grid_; }
    // The navigator button with this hint ("开头", "上一个", ...), or nullptr.
    QToolButton* navigatorButton(const QString& hint) const;
    // The read-only box of the properties page for NO, CN, EN or NT.
    QLineEdit* shownField(std::string_view name) const;
    // The box of the maintenance page for a field: a QLineEdit, or a
    // QPlainTextEdit for the property texts.
    QWidget* maintenanceField(std::string_view name) const;
    EditDWidget* resultEdit(std::string_view name) const;
    // Names the fluid and state the results were computed for.
    QLabel* resultsFor() const { return resultsFor_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildPropertiesPage();
    QWidget* buildMaintenancePage();
    void navigate(const QString& hint);
    void fillList();
    // Runs a command of the library, then shows what it left.
    void command(const std::function<void()>& f);
    // Typing into a maintenance box edits the current record.
    void edited(const char* field, const QString& text);

    TFormSimpPL& lib_;
    TFormKolvane& main_;
    UiServices& ui_;
    Guard guard_;
    bool confirmed_ = false;
    bool syncing_ = false;

    QTableWidget* list_ = nullptr;
    QTabWidget* pages_ = nullptr;
    QLineEdit* code_ = nullptr;
    QLabel* resultsFor_ = nullptr;
    MyValuesWidget* grid_ = nullptr;
    QPushButton* save_ = nullptr;
    std::vector<std::pair<QString, QToolButton*>> navigator_;
    std::map<std::string, QLineEdit*, std::less<>> shown_;
    std::map<std::string, QWidget*, std::less<>> editors_;
    std::map<std::string, EditDWidget*, std::less<>> results_;
};

} // namespace kolvane
