#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace kolvane {

class TFormPickList;

// The pick list: a thin view of TFormPickList. The list keeps the selection
// and the entry text; a mouse click on a row copies its value into the entry
// field, the keyboard only moves the selection, typing edits the entry. OK
// (also Enter) accepts the entry as it stands.
class PickListDialog : public QDialog {
    Q_OBJECT
public:
    explicit PickListDialog(TFormPickList& list, QWidget* parent = nullptr);

    QLabel* prompt() const { return prompt_; }
    QTableWidget* table() const { return table_; }
    QLineEdit* entryField() const { return entry_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    TFormPickList& list_;
    QLabel* prompt_ = nullptr;
    QTableWidget* table_ = nullptr;
    QLineEdit* entry_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

} // namespace kolvane
