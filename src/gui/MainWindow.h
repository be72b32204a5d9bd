#pragma once

#include "gui/QtUiServices.h"

#include <QMainWindow>
#include <map>
#include <memory>
#include <string>

class QTabWidget;
class QGridLayout;

namespace kolvane {

class TFormKolvane;
class Component;
class MyStatusBar;

// The main window: one widget per component of the core form, bound both
// ways, laid out from the window tables.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(const std::string& programDir, QWidget* parent = nullptr);
    ~MainWindow() override;

    TFormKolvane& kolvane() { return *kolvane_; }
    QTabWidget* pages() const { return pages_; }
    MyStatusBar* myStatusBar() const { return statusBar_; }
    // The widget bound to a component, or nullptr.
    QWidget* widgetFor(const std::string& name) const;

    // Renders page `page` of the window to a PNG file.
    bool saveScreenshot(const QString& path, int page);

    // Runs a handler at the event boundary (errors shown in a message box).
    void guarded(const std::function<void()>& handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildToolBar();
    void buildPages();
    QWidget* buildContainer(Component& container);
    void fillGrid(Component& container, QWidget* box, QGridLayout* grid);
    QWidget* widgetOf(Component& c, QWidget* parent);
    void about();

    QtUiServices ui_;
    std::unique_ptr<TFormKolvane> kolvane_;
    QTabWidget* pages_ = nullptr;
    MyStatusBar* statusBar_ = nullptr;
    std::map<std::string, QWidget*> widgets_;
};

} // namespace kolvane
