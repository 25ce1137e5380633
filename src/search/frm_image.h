#pragma once
// The picture window: one found file shown as a picture, the window sized to it.

#include <QDialog>

class QLabel;

namespace orvanex::search {

class frmImage : public QDialog {
    Q_OBJECT
public:
    explicit frmImage(QWidget* parent = nullptr);
    // Loads the picture; false with the reader's reason when Qt cannot read it.
    bool Display(const QString& nativePath, const QString& shownPath, QString* reason);
    QLabel* imgOne = nullptr;
};

} // namespace orvanex::search
