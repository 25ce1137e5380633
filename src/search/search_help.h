#pragma once
// Right-click help of the search window: a labelled control answers a right-button mouse-up with
// the "Extended Help?" menu, which shows that control's topic from the help folder.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTextBrowser>

class QAction;
class QMenu;

class QWidget;

namespace orvanex::search {

// The topic file of a control answering right-clicks ("" for other controls), and those controls.
QString searchHelpTopicOf(const QString& objectName);
QStringList searchHelpControlNames();

class SearchHelp : public QObject {
    Q_OBJECT
public:
    // Watches the named controls below window; topics come from appFolder/help, else from the
    // copy installed beside the program.
    SearchHelp(QWidget* window, const QString& appFolder);

    // A mouse-up on a labelled control; only the right button (2) pops up the menu, which is
    // closed again when this returns.
    void controlMouseUp(QWidget* control, int button);
    void mnuWhatsThisHelp_Click();

    QMenu* mnuWhatsThis = nullptr;
    QAction* mnuWhatsThisHelp = nullptr;
    QWidget* HelpControl = nullptr; // the control whose menu is open
    // The topic window (null before the first "Extended Help?").
    QTextBrowser* topicWindow() const { return m_topic; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    QString m_appFolder;
    QPointer<QTextBrowser> m_topic;
};

} // namespace orvanex::search
