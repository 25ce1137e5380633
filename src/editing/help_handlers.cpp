#include "editing/help_handlers.h"

#include "editing/editing_session.h"
#include "editing/main_context.h"
#include "platform/install_paths.h"
#include "ui_main_window.h"

#include <QCursor>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QTextBrowser>
#include <QTextCharFormat>
#include <QUrl>

namespace orvanex::editing {

namespace {

const QString kContents = QStringLiteral("orvanex.html");

struct Topic {
    const char* control;
    const char* file;
};

// Each right-click control and its topic.
constexpr Topic kTopics[] = {
    {"Label1", "file-extension.html"},
    {"Label2", "default-icon-file.html"},
    {"Label4", "registered-file-type.html"},
    {"lblMIME", "content-type.html"},
    {"chkQuickView", "quick-view.html"},
    {"chkAlwaysShow", "always-show-extensions.html"},
    {"Label1z", "action-name.html"},
    {"Label4z", "action-application.html"},
    {"chkSetDefault", "set-default.html"},
    {"chkDDE", "use-dde.html"},
    {"Label5z", "dde-message.html"},
    {"Label6z", "dde-application.html"},
    {"Label7z", "dde-application-not-running.html"},
    {"Label8z", "dde-topic.html"},
    {"cmdSelectByFileExtension", "select-by-extension.html"},
    {"cmdSelectByFileType", "select-by-file-type.html"},
};

QString installedFolder() {
    return platform::installedDataFolder();
}

// The file in the App folder when it is there, else the installed copy.
QString preferAppFolder(const QString& inApp, const QString& installed) {
    if (QFileInfo(inApp).isFile() || !QFileInfo(installed).isFile())
        return inApp;
    return installed;
}

} // namespace

QString helpFolder(const QString& appFolder) {
    for (const QString& folder :
         {appFolder + QStringLiteral("/help"), installedFolder() + QStringLiteral("/help")})
        if (QFileInfo(folder + u'/' + kContents).isFile())
            return folder;
    return QString();
}

QString helpContentsPath(const QString& appFolder) {
    return preferAppFolder(appFolder + QStringLiteral("/help/") + kContents,
                           installedFolder() + QStringLiteral("/help/") + kContents);
}

QString readmePath(const QString& appFolder) {
    return preferAppFolder(appFolder + QStringLiteral("/readme.txt"),
                           installedFolder() + QStringLiteral("/readme.txt"));
}

QString helpTopicOf(const QString& objectName) {
    for (const Topic& t : kTopics)
        if (objectName == QLatin1String(t.control))
            return QString::fromLatin1(t.file);
    return QString();
}

QStringList helpControlNames() {
    QStringList names;
    for (const Topic& t : kTopics)
        names.append(QString::fromLatin1(t.control));
    return names;
}

HelpHandlers::HelpHandlers(MainContext& ctx, QObject* parent) : QObject(parent), m_ctx(ctx) {
    Ui::frmORVANEX* ui = ctx.ui;
    ui->mnuHelp->setShortcut(QKeySequence::HelpContents);
    connect(ui->mnuHelp, &QAction::triggered, this, &HelpHandlers::mnuHelp_Click);
    connect(ui->mnuReadMe, &QAction::triggered, this, &HelpHandlers::mnuReadMe_Click);
    connect(ui->mnuWhatsThisHelp, &QAction::triggered, this, &HelpHandlers::mnuWhatsThisHelp_Click);
    for (const QString& name : helpControlNames())
        if (auto* w = ctx.window->findChild<QWidget*>(name))
            w->installEventFilter(this);
}

bool HelpHandlers::eventFilter(QObject* watched, QEvent* event) {
    // The event type first: a closing topic window still sends events while it is destroyed,
    // when comparing it through its QPointer would cast a half-destroyed object.
    if (event->type() == QEvent::KeyPress && watched == m_topic) {
        if (static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape)
            return false;
        m_topic->close();
        return true;
    }
    // The press is taken too, so that the release comes back to the same control.
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton)
        return true;
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            controlMouseUp(static_cast<QWidget*>(watched), 2);
            return true;
        }
    }
    return false;
}

void HelpHandlers::controlMouseUp(QWidget* control, int button) {
    if (button != 2 || !control)
        return;
    EditingSession& session = editingSession(m_ctx);
    session.HelpControl = control;
    // As a pop-up menu does, this returns when the menu has closed (after its item ran).
    m_ctx.ui->mnuWhatsThis->exec(QCursor::pos());
    session.HelpControl = nullptr;
}

void HelpHandlers::mnuWhatsThisHelp_Click() {
    QWidget* control = editingSession(m_ctx).HelpControl;
    if (!control)
        return;
    const QString topic = helpTopicOf(control->objectName());
    const QString folder = helpFolder(m_ctx.AppFolder);
    if (topic.isEmpty() || folder.isEmpty())
        return;
    showInHelpWindow(folder + u'/' + topic);
}

QTextBrowser* HelpHandlers::helpWindow() {
    if (!m_topic) {
        m_topic = new QTextBrowser(m_ctx.window);
        m_topic->setObjectName(QStringLiteral("frmHelpTopic"));
        m_topic->setWindowFlag(Qt::Window);
        m_topic->setWindowTitle(QStringLiteral("ORVANEX Help"));
        m_topic->resize(420, 300);
        m_topic->setOpenLinks(true);
        m_topic->installEventFilter(this); // Escape closes it, as it closes the dialogs
    }
    return m_topic;
}

void HelpHandlers::showInHelpWindow(const QString& path) {
    QTextBrowser* window = helpWindow();
    const QFileInfo info(path);
    if (!info.isFile()) {
        window->setPlainText(QStringLiteral("The help file \"%1\" is not there.").arg(path));
    } else if (info.suffix().compare(QLatin1String("html"), Qt::CaseInsensitive) == 0) {
        window->setSearchPaths({info.absolutePath()});
        window->setSource(QUrl::fromLocalFile(path), QTextDocument::HtmlResource);
    } else {
        QFile file(path);
        // A text file is shown as text: a fresh document, none of the format of a link the
        // last topic may have left at the cursor, wrapped at word ends to the window's width.
        // A browser keeps the last topic as its source (for Back and reload) whatever text it
        // is given after it: one that showed a topic is replaced, where it stood.
        if (!window->source().isEmpty()) {
            const QRect where = window->geometry();
            delete m_topic;
            m_topic = nullptr;
            window = helpWindow();
            window->setGeometry(where);
        }
        window->clear();
        window->setCurrentCharFormat(QTextCharFormat());
        window->setLineWrapMode(QTextEdit::WidgetWidth);
        window->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        window->setPlainText(file.open(QIODevice::ReadOnly)
                                 ? QString::fromUtf8(file.readAll())
                                 : QStringLiteral("The help file \"%1\" cannot be read: %2")
                                       .arg(path, file.errorString()));
    }
    window->show();
    window->raise();
}

void HelpHandlers::openDocument(const QString& path) {
    m_ctx.ui->lblScan->setText(path);
    // Without a desktop handler for the file, the program's own window shows it.
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        showInHelpWindow(path);
}

void HelpHandlers::mnuHelp_Click() {
    openDocument(helpContentsPath(m_ctx.AppFolder));
}

void HelpHandlers::mnuReadMe_Click() {
    // Always the program's own window: the read-me is plain text, whatever the desktop would do.
    const QString path = readmePath(m_ctx.AppFolder);
    m_ctx.ui->lblScan->setText(path);
    showInHelpWindow(path);
}

} // namespace orvanex::editing
