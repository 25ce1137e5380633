// Right-click help, Help Topics and Readme Text.

#include "editing/help_handlers.h"
#include "editing_world.h"
#include "support/test_env.h"
#include "ui_main_window.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

using namespace orvanex;
using namespace orvanex::test;

namespace {

// Takes the URLs the program hands to the desktop.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    UrlCatcher() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "take"); }
    ~UrlCatcher() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QList<QUrl> urls;
public Q_SLOTS:
    void take(const QUrl& url) { urls.append(url); }
};

// Right-clicks control and chooses "Extended Help?" from the menu that pops up.
void rightClickAndChoose(Ui::frmORVANEX* ui, QWidget* control, bool choose) {
    QTimer::singleShot(0, [ui, choose] {
        if (choose)
            ui->mnuWhatsThisHelp->trigger();
        ui->mnuWhatsThis->close();
    });
    QTest::mouseClick(control, Qt::RightButton);
}

// The copy beside the running program (the build puts one beside the tests too).
QString installedHelp() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/help");
}

} // namespace

TEST(EditingHelp, EveryRightClickControlHasARealTopic) {
    EditingWorld world(QStringLiteral("help-topics"));
    MainWindow& window = world.start();
    const QStringList names = editing::helpControlNames();
    EXPECT_EQ(names.size(), 16);
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        QWidget* control = window.findChild<QWidget*>(name);
        ASSERT_NE(control, nullptr);
        QFile topic(installedHelp() + u'/' + editing::helpTopicOf(name));
        ASSERT_TRUE(topic.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(topic.readAll());
        EXPECT_TRUE(html.contains("<h1>"));
        EXPECT_GT(html.size(), 300);
    }
    EXPECT_TRUE(editing::helpTopicOf("cmdApply").isEmpty());
}

TEST(EditingHelp, ExtendedHelpShowsTheControlsTopic) {
    EditingWorld world(QStringLiteral("help-extended"));
    MainWindow& window = world.start();
    Ui::frmORVANEX* ui = window.form();
    auto* help = window.findChild<editing::HelpHandlers*>(QStringLiteral("helpHandlers"));
    ASSERT_NE(help, nullptr);

    rightClickAndChoose(ui, ui->chkDDE, false); // menu closed without choosing
    EXPECT_EQ(help->topicWindow(), nullptr);
    QTest::mouseClick(ui->Label2, Qt::LeftButton); // the left button shows no menu
    EXPECT_EQ(help->topicWindow(), nullptr);

    rightClickAndChoose(ui, ui->chkDDE, true);
    ASSERT_NE(help->topicWindow(), nullptr);
    EXPECT_TRUE(help->topicWindow()->isVisible());
    EXPECT_TRUE(help->topicWindow()->source().toLocalFile().endsWith("/use-dde.html"));
    EXPECT_TRUE(help->topicWindow()->toPlainText().contains("DDE"));

    rightClickAndChoose(ui, ui->lblMIME, true);
    EXPECT_TRUE(help->topicWindow()->source().toLocalFile().endsWith("/content-type.html"));
    EXPECT_TRUE(help->topicWindow()->toPlainText().contains("Multipurpose Internet Mail"));
}

TEST(EditingHelp, TopicsAndReadmeComeFromTheAppFolderFirst) {
    EditingWorld world(QStringLiteral("help-open"));
    MainWindow& window = world.start();
    Ui::frmORVANEX* ui = window.form();
    UrlCatcher catcher;

    // Not in the App folder: the copy beside the program.
    ui->mnuHelp->trigger();
    ASSERT_EQ(catcher.urls.size(), 1);
    EXPECT_EQ(catcher.urls[0].toLocalFile(), installedHelp() + "/orvanex.html");
    EXPECT_EQ(ui->lblScan->text(), installedHelp() + "/orvanex.html");

    const QString app = world.ctx().AppFolder;
    QDir().mkpath(app + "/help");
    QFile::copy(installedHelp() + "/orvanex.html", app + "/help/orvanex.html");
    QFile readme(app + "/readme.txt");
    ASSERT_TRUE(readme.open(QIODevice::WriteOnly));
    readme.close();
    ui->mnuHelp->trigger();
    ui->mnuReadMe->trigger();
    ASSERT_EQ(catcher.urls.size(), 3);
    EXPECT_EQ(catcher.urls[1].toLocalFile(), app + "/help/orvanex.html");
    EXPECT_EQ(catcher.urls[2].toLocalFile(), app + "/readme.txt");
    EXPECT_EQ(ui->lblScan->text(), app + "/readme.txt");
    QFile::remove(app + "/readme.txt");
    QDir(app + "/help").removeRecursively();
}

#include "help_test.moc"
