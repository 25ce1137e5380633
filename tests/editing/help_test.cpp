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
#include <QTextBlock>
#include <QTextBrowser>
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
    auto* help = window.handlers().help.get();
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
    readme.write("ORVANEX <b>read me</b>\nSecond line\n");
    readme.close();
    ui->mnuHelp->trigger();
    ASSERT_EQ(catcher.urls.size(), 2);
    EXPECT_EQ(catcher.urls[1].toLocalFile(), app + "/help/orvanex.html");
    ui->mnuReadMe->trigger();
    EXPECT_EQ(catcher.urls.size(), 2); // the read-me is not handed to the desktop
    EXPECT_EQ(ui->lblScan->text(), app + "/readme.txt");
    QFile::remove(app + "/readme.txt");
    QDir(app + "/help").removeRecursively();
}

TEST(EditingHelp, TheReadmeIsPlainTextInTheHelpWindowAndEscapeClosesIt) {
    EditingWorld world(QStringLiteral("help-readme"));
    MainWindow& window = world.start();
    Ui::frmORVANEX* ui = window.form();
    auto* help = window.handlers().help.get();
    // A topic with links first: its format must not carry over into the read-me.
    rightClickAndChoose(ui, ui->chkDDE, true);
    ASSERT_NE(help->topicWindow(), nullptr);
    const QString app = world.ctx().AppFolder;
    QFile readme(app + "/readme.txt");
    ASSERT_TRUE(readme.open(QIODevice::WriteOnly));
    readme.write("ORVANEX <b>read me</b> with a rather long first line that has to wrap in the "
                 "window\nhttp://example.invalid/ is no link\n");
    readme.close();
    ui->mnuReadMe->trigger();
    QTextBrowser* shown = help->topicWindow();
    ASSERT_TRUE(shown->isVisible());
    EXPECT_TRUE(shown->toPlainText().startsWith("ORVANEX <b>read me</b> with"));
    EXPECT_TRUE(shown->source().isEmpty());
    EXPECT_EQ(shown->lineWrapMode(), QTextEdit::WidgetWidth);
    for (QTextBlock b = shown->document()->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            EXPECT_FALSE(it.fragment().charFormat().isAnchor()) << b.text().toStdString();
            EXPECT_FALSE(it.fragment().charFormat().fontUnderline()) << b.text().toStdString();
        }
    test::screenshot("readme-help-window.png");
    QFile::remove(app + "/readme.txt");

    QTest::keyClick(shown, Qt::Key_Escape);
    EXPECT_FALSE(shown->isVisible());
}

#include "help_test.moc"
