#include "search/search_help.h"

#include "platform/install_paths.h"

#include <QCursor>
#include <QFileInfo>
#include <QMenu>
#include <QMouseEvent>
#include <QTextBrowser>
#include <QUrl>
#include <QWidget>

namespace orvanex::search {

namespace {

struct Topic {
    const char* control;
    const char* file;
};

constexpr Topic kTopics[] = {
    {"lblSearchPicture", "search-extensions.html"},
    {"lblType", "search-file-type.html"},
    {"lblStartDirSearch", "search-start-folder.html"},
    {"Label7", "copy-default-folder.html"},
    {"Label8", "copy-new-name.html"},
    {"chkDefaultDirectory", "copy-use-default-folder.html"},
    {"CheckWarning", "copy-replace-warning.html"},
};

} // namespace

QString searchHelpTopicOf(const QString& objectName) {
    for (const Topic& t : kTopics)
        if (objectName == QLatin1String(t.control))
            return QString::fromLatin1(t.file);
    return QString();
}

QStringList searchHelpControlNames() {
    QStringList names;
    for (const Topic& t : kTopics)
        names.append(QString::fromLatin1(t.control));
    return names;
}

SearchHelp::SearchHelp(QWidget* window, const QString& appFolder)
    : QObject(window), m_window(window), m_appFolder(appFolder) {
    setObjectName(QStringLiteral("searchHelp"));
    mnuWhatsThis = new QMenu(QStringLiteral("Whats This"), window);
    mnuWhatsThis->setObjectName(QStringLiteral("mnuWhatsThis"));
    mnuWhatsThisHelp = mnuWhatsThis->addAction(QStringLiteral("Extended Help?"));
    mnuWhatsThisHelp->setObjectName(QStringLiteral("mnuWhatsThisHelp"));
    connect(mnuWhatsThisHelp, &QAction::triggered, this, &SearchHelp::mnuWhatsThisHelp_Click);
    for (const QString& name : searchHelpControlNames())
        if (auto* w = window->findChild<QWidget*>(name))
            w->installEventFilter(this);
}

bool SearchHelp::eventFilter(QObject* watched, QEvent* event) {
    // The press is taken too, so that the release comes back to the same control.
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonRelease)
        return false;
    if (static_cast<QMouseEvent*>(event)->button() != Qt::RightButton)
        return false;
    if (event->type() == QEvent::MouseButtonRelease)
        controlMouseUp(static_cast<QWidget*>(watched), 2);
    return true;
}

void SearchHelp::controlMouseUp(QWidget* control, int button) {
    if (button != 2 || !control)
        return;
    HelpControl = control;
    mnuWhatsThis->exec(QCursor::pos());
    HelpControl = nullptr;
}

void SearchHelp::mnuWhatsThisHelp_Click() {
    if (!HelpControl)
        return;
    const QString topic = searchHelpTopicOf(HelpControl->objectName());
    if (topic.isEmpty())
        return;
    QString path = m_appFolder + QStringLiteral("/help/") + topic;
    if (!QFileInfo(path).isFile())
        path = platform::installedDataFolder() + QStringLiteral("/help/") + topic;
    if (!m_topic) {
        m_topic = new QTextBrowser(m_window);
        m_topic->setObjectName(QStringLiteral("frmHelpTopic"));
        m_topic->setWindowFlag(Qt::Window);
        m_topic->setWindowTitle(QStringLiteral("ORVANEX Help"));
        m_topic->resize(420, 300);
    }
    if (QFileInfo(path).isFile()) {
        m_topic->setSearchPaths({QFileInfo(path).absolutePath()});
        m_topic->setSource(QUrl::fromLocalFile(path), QTextDocument::HtmlResource);
    } else {
        m_topic->setPlainText(QStringLiteral("The help file \"%1\" is not there.").arg(topic));
    }
    m_topic->show();
    m_topic->raise();
}

} // namespace orvanex::search
