#pragma once
// The file summary window: the file's icon and its summary lines in a fixed-pitch font, with
// printing; its position is kept between openings.

#include "search/file_summary.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace orvanex::search {

class frmSummary : public QDialog {
    Q_OBJECT
public:
    // SelectedFile as the search window shows it, nativePath where the file is.
    frmSummary(const QString& SelectedFile, const QString& nativePath,
               const ExtensionDescriber& describe, QWidget* parent = nullptr);

    void cmdPrint_Click();
    void cmdExit_Click();

    QLabel* pixLarge = nullptr;
    QLabel* lblFile = nullptr;
    QLabel* lblType = nullptr;
    QLabel* lblSize = nullptr;
    QLabel* lblAttr = nullptr;
    QLabel* lblTime = nullptr;
    QList<QLabel*> lblInf; // lblInf1 to lblInf8
    QLabel* lblInf9 = nullptr;
    QLabel* lblInf0 = nullptr;
    QLabel* lblInfE = nullptr;
    QLabel* lblPrted = nullptr;
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdExit = nullptr;

    const FileSummary& summary() const { return m_summary; }
    QString printToFile; // print into this PDF instead of the default printer (tests)

protected:
    void done(int result) override;

private:
    QLabel* lineLabel(const SummaryLine& line);
    void showIcon(const QString& nativePath);

    FileSummary m_summary;
};

// Opens the summary of one file modally.
void ShowFileSummary(const QString& SelectedFile, const QString& nativePath,
                     const ExtensionDescriber& describe, QWidget* parent);

} // namespace orvanex::search
