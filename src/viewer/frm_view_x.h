#pragma once
// The viewer's one window: a file's bytes as text, with find, find-all marking, copy, fonts and
// printing.

#include <QFont>
#include <QMainWindow>
#include <QString>

class QLabel;
class QPrinter;
class QPrintPreviewDialog;

namespace orvanex::viewer {

class ByteView;

// Where the viewer keeps its window position.
inline constexpr char kViewerTag[] = "frmView";

class frmViewX : public QMainWindow {
    Q_OBJECT
public:
    explicit frmViewX(QWidget* parent = nullptr);

    // The window's load handler: position, caption, fonts and the file named by the command line.
    // False when a file was named and could not be shown (the user was told why).
    bool Form_Load(const QString& commandLine);

    void mnuOpen_Click(); // shows another file
    void mnuCase_Click(); // Find
    void mnuFind_Click(); // Find Whole Word
    void mnuHigh_Click(); // Find All
    void MnuNext_Click(); // Find Next
    void mnuCopy_Click();
    void mnuSelectAll_Click();
    void munFonts_Click();
    void mnuPrint_Click();
    void mnuSelected_Click(); // Print Selected Text Only
    void mnuExit_Click();

    // Marks every match of SearchText in `colour` and leaves the selection as it was.
    void HighlightAll(const QColor& colour);

    ByteView* rtfText() const { return m_view; }
    const QString& SearchText() const { return m_searchText; }
    const QString& SearchKind() const { return m_searchKind; }
    qint64 FoundPos() const { return m_foundPos; }

    // Most matches Find All marks in one run.
    static constexpr size_t kMaxMarks = 4'000'000;

protected:
    // The modal dialogs, overridden by tests.
    virtual QString askText(const QString& prompt, const QString& title);
    virtual void showMessage(const QString& text);
    virtual bool chooseFont(QFont& font);
    virtual bool choosePrinter(QPrinter& printer, bool selectionPreset);
    virtual QString chooseFile();
    virtual bool hasPrinter() const;
    virtual void showPreview(QPrintPreviewDialog& dialog);

    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    QFont settingsFont() const;
    // Shows the file in place of the one shown; false (the user told why, the shown file kept)
    // when it cannot be read.
    bool showFile(const QString& path);
    // Searches from `from`; selects and shows a match.
    qint64 search(qint64 from, bool wholeWord);
    void printCommand(bool selectionPreset);

    ByteView* m_view = nullptr;
    QLabel* m_lblDisplay = nullptr;
    QString m_searchText;
    QString m_searchKind;
    qint64 m_foundPos = 0;
    QString m_path;
    bool m_fontsRead = false;
};

// The font the font dialog opens on for a configured font: the family that really draws it, so
// that the dialog can show it as current.
QFont fontDialogStart(const QFont& configured);

// The whole command line after the program name, as the platform hands it over: the arguments
// joined with single blanks, nothing unquoted.
QString commandLineOf(int argc, const char* const* argv);

} // namespace orvanex::viewer
