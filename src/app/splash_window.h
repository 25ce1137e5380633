#pragma once
// The two splash windows of the start-up: frmLoad while the main window is built, frmLoad2 while
// the timer builds the file-type and auxiliary lists.

#include <QWidget>
#include <memory>

namespace Ui {
class frmLoad;
}

namespace orvanex {

class SplashWindow : public QWidget {
    Q_OBJECT
public:
    enum class Kind { First, Second };

    // The first splash is a top-level window kept above all others; the second is owned by (and
    // kept above) owner.
    explicit SplashWindow(Kind kind, QWidget* owner = nullptr);
    ~SplashWindow() override;

    QString message() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();

    std::unique_ptr<Ui::frmLoad> ui;
};

} // namespace orvanex
