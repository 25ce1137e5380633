#pragma once
// The search window: finds the files of the selected entry's extensions in a folder tree or on
// all drives, and works on the files found (pop-up menu, copy/move and delete panels).

#include "platform/drive_map.h"
#include "search/file_summary.h"
#include "search/search_pattern.h"
#include "search/search_results.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QStackedWidget;
class QTableView;
class QAction;
class QThread;

namespace orvanex::search {

class SearchHelp;
class SearchWorker;
class frmSummary;
class TextScanWorker;

// The panel that covers the counters and holds the grid still (its number is its page in panels).
enum class SearchPanel : int { None = 0, CopyMove = 1, Delete = 2 };

class frmSearch : public QDialog {
    Q_OBJECT
public:
    // ExtensionList and FileTypeName as the main window passes them; appFolder holds the viewer.
    frmSearch(const QString& ExtensionList, const QString& FileTypeName, platform::DriveMap drives,
              const QString& appFolder, QWidget* parent = nullptr);
    ~frmSearch() override;

    SearchResultsModel* results() const { return m_model; }
    bool searching() const { return Searching != 0; }
    bool sorting() const { return m_sortThread != nullptr; }
    bool scanningText() const { return m_textScan != nullptr; }

    // Handlers, public so that tests and the main window drive them as a user would.
    void cmdSearchStart_Click();
    void cmdSearchAll_Click();
    void cmdCancelSearch_Click();
    void MSFlexGrid1_HeaderClick(int column);
    // Selects the cell's file and shows the options menu (at pos, or at the cell when null).
    void MSFlexGrid1_Select(const QModelIndex& index, const QPoint* pos = nullptr);
    void setStartFolder(const QString& nativeFolder); // what the folder list's change does
    // Leaving the folder list after a single click: the clicked folder becomes the start folder.
    void DirList3_LostFocus();
    // Enter in the start folder box: a typed folder (native or C:\\...) becomes the start folder;
    // false, with the reason shown, when there is no such folder.
    bool txtDefaultDirectory_Enter();
    // The menu of the last selection (not shown in tests that set popUpMenus to false).
    QMenu* optionsMenu() const { return mnuOptions; }
    bool popUpMenus = true;
    // Answers for the questions the window asks, for tests: 0 asks the user.
    int scriptedAnswer = 0;
    // The input box's answer for tests (unset: the user is asked).
    std::optional<QString> scriptedText;
    // Grids of at least this many rows sort on a thread of their own.
    int sortOnThreadRows = 20000;
    // Runs on the search's thread as each folder is entered, for tests that hold the walk.
    std::function<void(const QByteArray&)> walkFolderHook;
    QString SelectedFile; // the extension of the selected file's name
    SearchPanel PanelOpen = SearchPanel::None;
    bool panelOpen() const { return PanelOpen != SearchPanel::None; }

    // Operations of the options menu.
    void cmdExplorer_Click();
    void cmdView_Click();
    void cmdEdit_Click();
    void cmdOpen_Click();
    void cmdOpenWith_Click();
    void cmdProperty_Click();
    void cmdSummary_Click();
    void cmdImage_Click();
    void cmdPlay_Click();
    void cmdCopy_Click();
    void cmdMove_Click();
    void cmdDelete_Click();
    void cmdCopyOK_Click();
    void cmdCancelCopy_Click();
    void cmdOK_Click();
    void cmdDCan_Click();
    void chkDefaultDirectory_Click();
    void cmdFindText_Click();

Q_SIGNALS:
    void searchFinished();
    void sortFinished();
    void textScanFinished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildWindow();
    void buildPanels();
    void buildMenu();
    void startWalk(bool allDrives);
    void collect(); // the timer: rows and counters from the worker
    void endSearch();
    void showTotals();           // the counters of files and bytes from the rows
    QString shownFolder() const; // the start folder as shown, with its separator
    void PrintSearchResults();
    void refillFolderList();
    void DrvList3_Change(int index);
    void setPanelColours(bool panel);
    void openPanel(bool move);
    void closePanel(const QString& status);
    void writeCopySettings();
    int ask(const QString& title, const QString& text);
    void message(const QString& text);
    QByteArray nativeOf(const QString& path) const; // a shown path as native bytes
    QString windowsOf(const QString& nativePath) const;
    QString selectedPath() const;   // the selected row's path
    QString selectedNative() const; // the same, as the native path
    void sortDone(const std::vector<int>& order);
    void collectText(); // the timer: marks and the current row from the text scan
    void endTextScan();

public:
    // Controls, named as the user sees them.
    QLineEdit* txtPattern = nullptr;
    QComboBox* DrvList3 = nullptr;
    QListWidget* DirList3 = nullptr;
    QLineEdit* txtDefaultDirectory = nullptr;
    QLineEdit* txtDefaultDirectoryX = nullptr;
    QPushButton* cmdSearchStart = nullptr;
    QPushButton* cmdSearchAll = nullptr;
    QPushButton* cmdCancelSearch = nullptr;
    QLabel* lblScan = nullptr;
    QLabel* lblBoom = nullptr;
    QLabel* lblCount = nullptr;
    QLabel* lblBytes = nullptr;
    QTableView* MSFlexGrid1 = nullptr;
    QLineEdit* txtAction = nullptr;
    QStackedWidget* panels = nullptr; // counters, copy/move panel, delete panel
    QLabel* Label6 = nullptr;
    QLabel* Label9 = nullptr;
    QCheckBox* chkDefaultDirectory = nullptr;
    QLineEdit* txtNewNameX = nullptr;
    QCheckBox* CheckWarning = nullptr;
    QPushButton* cmdOK = nullptr;
    QMenu* mnuOptions = nullptr;
    QAction* cmdImage = nullptr;
    QAction* cmdPlay = nullptr;
    QString lastMessage; // the last message box's text (shown or, in tests, only kept)
    QString printToFile; // print into this PDF instead of the default printer
    ExtensionDescriber describeExtension; // the registry's type names, for the summary
    QPointer<frmSummary> lastSummary;     // with a scripted answer: the summary, not shown
    SearchHelp* help = nullptr;

private:
    // Controls only the window itself works with.
    QLineEdit* txtType = nullptr;
    QPushButton* cmdCopyOK = nullptr;
    QPushButton* cmdCancelCopy = nullptr;
    QPushButton* cmdDCan = nullptr;
    QAction* cmdOpen = nullptr;

    platform::DriveMap m_drives;
    QString m_appFolder;
    QString m_extensionList;
    QString m_folder;    // the folder list's path (native)
    QString m_startText; // the start folder box's text for m_folder
    SearchResultsModel* m_model = nullptr;
    std::unique_ptr<SearchWorker> m_worker;
    QTimer m_collectTimer;
    qint64 m_folders = 0;
    qint64 m_files = 0;

    int Searching = 0;
    bool FolderRun = false;
    bool m_finished = false; // the one search of this opening has ended
    bool m_stopped = false;  // Stop was pressed during the running search or scan
    int m_textRow = -1;      // the row the text scan reached
    int NameSortState = 1;
    int SizeSortState = 1;
    int m_selectedRow = -1;
    bool m_moving = false;
    QString SavedStartText;
    QString m_proposedFolder; // the copy panel's default folder when none was chosen
    std::unique_ptr<QThread> m_sortThread;
    std::atomic_bool m_sortCancel{false};
    int m_pendingSortColumn = -1; // a header click that came while a sort ran
    std::unique_ptr<TextScanWorker> m_textScan;
    QTimer m_textTimer;
};

} // namespace orvanex::search
