#pragma once
// Help: the right-click "Extended Help?" menu of the labelled controls, Help Topics (F1) and
// Readme Text. The topics are HTML files looked up in the App folder's "help" folder and, where
// they are not there, in the copy installed beside the program.

#include <QObject>
#include <QPointer>
#include <QString>

#include <QTextBrowser>

namespace orvanex {
struct MainContext;
}

namespace orvanex::editing {

// The folder holding the help topics: <appFolder>/help when it has the contents page, else the
// copy beside the program, else empty.
QString helpFolder(const QString& appFolder);
// The contents page and the read-me file that would be opened (App folder copy preferred).
QString helpContentsPath(const QString& appFolder);
QString readmePath(const QString& appFolder);
// The topic file name of a control answering right-clicks ("" for other controls).
QString helpTopicOf(const QString& objectName);
// The controls that answer a right-click with the help menu, by object name.
QStringList helpControlNames();

class HelpHandlers : public QObject {
    Q_OBJECT
public:
    explicit HelpHandlers(MainContext& ctx, QObject* parent);

    void mnuHelp_Click();
    void mnuReadMe_Click();
    void mnuWhatsThisHelp_Click();
    // A mouse-up on a labelled control; only the right button (2) pops up the menu.
    void controlMouseUp(QWidget* control, int button);

    // The topic window "Extended Help?" opened (null before the first use).
    QTextBrowser* topicWindow() const { return m_topic; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTextBrowser* helpWindow();
    // An HTML topic, or a text file, in the program's own help window.
    void showInHelpWindow(const QString& path);
    // Hands a file to the desktop; shows it in the help window when the desktop cannot.
    void openDocument(const QString& path);

    MainContext& m_ctx;
    QPointer<QTextBrowser> m_topic;
};

} // namespace orvanex::editing
