#pragma once
// The icon-file picker: the known icon files of all registered types, a preview of the icons of
// the one clicked, and Browse for any other file. Its result is the chosen file's text, empty
// when the user left without a choice.

#include "platform/drive_map.h"

#include <QDialog>
#include <QStringList>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace orvanex::editing {

class FrmIcon : public QDialog {
    Q_OBJECT
public:
    FrmIcon(const QStringList& iconFiles, const platform::DriveMap& drives, QWidget* parent);

    // The Text1 text "&Select" returned; empty until then.
    QString SelectedIconFile() const { return m_selected; }

    void List1_Click();
    void cmdIconBrowse_Click();
    void cmdOK_Click();
    void cmdExit_Click();
    // Previews the file in Text1 (what a click or a browse put there).
    void preview();

protected:
    void changeEvent(QEvent* event) override;

private:
    void Form_Load(const QStringList& iconFiles);
    void chosen(const QString& file);

    platform::DriveMap m_drives;
    QString m_selected;
    bool m_hasChoice = false;
    QListWidget* List1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLabel* Label1 = nullptr;
    QTableWidget* Grid1 = nullptr;
    QPushButton* cmdIconBrowse = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdExit = nullptr;
};

// Shows the picker modally over parent; the chosen file, or "" for none.
QString pickIconFile(const QStringList& iconFiles, const platform::DriveMap& drives,
                     QWidget* parent);

} // namespace orvanex::editing
