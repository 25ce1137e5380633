#include "viewer/frm_view_x.h"

#include "settings/settings_store.h"
#include "settings/window_position.h"
#include "viewer/byte_printer.h"
#include "viewer/byte_search.h"
#include "viewer/byte_view.h"
#include "viewer/cp1252.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QFontInfo>
#include <QInputDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <cstdio>

namespace orvanex::viewer {
namespace {

const QString kApp = QString::fromLatin1(kViewerAppName);
const QString kFontKey = QStringLiteral("TheFonts");
const QString kTitle = QStringLiteral("PELUSA");

struct FontSetting {
    const char* section;
    const char* fallback;
};
constexpr FontSetting kFontSettings[4] = {{"CheckFonts1", "Arial"},
                                          {"CheckFonts2", "True"},
                                          {"CheckFonts3", "False"},
                                          {"CheckFonts4", "10"}};

QString readFontSetting(int i) {
    return GetSetting(kApp, QLatin1String(kFontSettings[i].section), kFontKey,
                      QLatin1String(kFontSettings[i].fallback));
}

void saveFontSetting(int i, const QString& value) {
    SaveSetting(kApp, QLatin1String(kFontSettings[i].section), kFontKey, value);
}

// "True"/"False" as stored; a number counts as true when not zero. Anything else: the fallback.
bool toBool(const QString& text, bool fallback) {
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double n = t.toDouble(&ok);
    return ok ? n != 0 : fallback;
}

QString boolText(bool b) {
    return b ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace

QString commandLineOf(int argc, const char* const* argv) {
    QStringList parts;
    for (int i = 1; i < argc; ++i)
        parts << QString::fromLocal8Bit(argv[i]);
    return parts.join(u' ');
}

frmViewX::frmViewX(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmViewX"));
    setWindowTitle(kTitle);
    m_view = new ByteView(this);
    m_view->setObjectName(QStringLiteral("rtfText"));
    // The box's design font, kept when no file is shown.
    QFont design(QStringLiteral("MS Sans Serif"));
    design.setPointSizeF(8.5);
    m_view->setFont(design);
    setCentralWidget(m_view); // fills the client area on every resize
    m_lblDisplay = new QLabel(this);
    m_lblDisplay->setObjectName(QStringLiteral("lblDisplay"));
    m_lblDisplay->hide();
    buildMenus();
    resize(640, 480);
    connect(m_view, &ByteView::fileCut, this, [this] {
        showMessage(QStringLiteral("The file \"%1\" was shortened while shown: the bytes past its "
                                   "new end show as NUL characters.")
                        .arg(m_path));
    });
}

void frmViewX::buildMenus() {
    auto menu = [this](const char* name, const QString& caption) {
        QMenu* m = menuBar()->addMenu(caption);
        m->setObjectName(QLatin1String(name));
        return m;
    };
    auto item = [this](QMenu* m, const char* name, const QString& caption, void (frmViewX::*slot)(),
                       const QKeySequence& keys = {}) {
        QAction* a = m->addAction(caption);
        a->setObjectName(QLatin1String(name));
        a->setShortcut(keys);
        connect(a, &QAction::triggered, this, slot);
    };
    auto separator = [](QMenu* m, const char* name) {
        m->addSeparator()->setObjectName(QLatin1String(name));
    };
    QMenu* file = menu("mnuFile", QStringLiteral("   &File"));
    item(file, "mnuOpen", QStringLiteral("&Open..."), &frmViewX::mnuOpen_Click,
         QKeySequence(Qt::CTRL | Qt::Key_O));
    separator(file, "mnuOpenSep");
    item(file, "mnuSelected", QStringLiteral("Print &Selected Text Only"),
         &frmViewX::mnuSelected_Click);
    separator(file, "mnu79");
    item(file, "mnuPrint", QStringLiteral("&Print File"), &frmViewX::mnuPrint_Click);
    separator(file, "mnu34");
    item(file, "mnuExit", QStringLiteral("&Exit PELUSA"), &frmViewX::mnuExit_Click);

    QMenu* edit = menu("mnuEdit", QStringLiteral("    &Edit"));
    item(edit, "mnuCopy", QStringLiteral("&Copy"), &frmViewX::mnuCopy_Click);
    separator(edit, "mnu1");
    item(edit, "munFonts", QStringLiteral("F&onts"), &frmViewX::munFonts_Click);
    separator(edit, "mnuSA");
    item(edit, "mnuSelectAll", QStringLiteral("&Select All"), &frmViewX::mnuSelectAll_Click);

    QMenu* search = menu("mnuSearch", QStringLiteral("   &Search"));
    item(search, "mnuHigh", QStringLiteral("Find &All "), &frmViewX::mnuHigh_Click);
    separator(search, "mnu912");
    item(search, "mnuFind", QStringLiteral("Find &Whole Word"), &frmViewX::mnuFind_Click);
    separator(search, "mnu2");
    item(search, "mnuCase", QStringLiteral("&Find "), &frmViewX::mnuCase_Click,
         QKeySequence(Qt::CTRL | Qt::Key_F));
    item(search, "MnuNext", QStringLiteral("  Find &Next"), &frmViewX::MnuNext_Click,
         QKeySequence(Qt::Key_F3));
}

QFont frmViewX::settingsFont() const {
    QFont f(readFontSetting(0));
    f.setBold(toBool(readFontSetting(1), true));
    f.setItalic(toBool(readFontSetting(2), false));
    bool ok = false;
    const double size = readFontSetting(3).trimmed().toDouble(&ok);
    f.setPointSizeF(ok && size > 0 && size < 1000 ? size : 10.0);
    return f;
}

bool frmViewX::Form_Load(const QString& commandLine) {
    RestoreWindowPosition(this, kApp, QLatin1String(kViewerTag));
    setWindowTitle(QStringLiteral("PELUSA - ") + commandLine);
    if (commandLine.isEmpty() || commandLine == QLatin1String(" "))
        return true;
    m_lblDisplay->setText(commandLine);
    return showFile(m_lblDisplay->text());
}

bool frmViewX::showFile(const QString& path) {
    if (!m_fontsRead) {
        // The four settings exist after the first run.
        for (int i = 0; i < 4; ++i)
            saveFontSetting(i, readFontSetting(i));
        m_view->setFont(settingsFont());
        m_fontsRead = true;
    }
    const QString error = m_view->loadFile(path);
    if (!error.isEmpty()) {
        const QString text = QStringLiteral("Cannot show the file \"%1\": %2").arg(path, error);
        // Also for the shell that started the viewer, before the message waits for its OK.
        std::fprintf(stderr, "pelusa: %s\n", text.toLocal8Bit().constData());
        std::fflush(stderr);
        showMessage(text);
        return false;
    }
    m_path = path;
    m_lblDisplay->setText(path);
    setWindowTitle(QStringLiteral("PELUSA - ") + path);
    m_foundPos = 0;
    return true;
}

void frmViewX::mnuOpen_Click() {
    const QString path = chooseFile();
    if (!path.isEmpty())
        showFile(path);
}

qint64 frmViewX::search(qint64 from, bool wholeWord) {
    const auto pattern = unicodeToCp1252(m_searchText);
    if (!pattern)
        return -1;
    const ByteSearcher searcher(*pattern, wholeWord);
    const ByteDocument& doc = m_view->document();
    const qint64 pos = searcher.find(doc.data(), doc.size(), from);
    m_view->checkCut();
    if (pos >= 0) {
        m_view->setSelection(pos, searcher.length());
        m_view->scrollToSelection();
    }
    return pos;
}

void frmViewX::mnuCase_Click() {
    const QString text =
        askText(QStringLiteral("Enter Text String"), QStringLiteral("PELUSA Find Text String"));
    if (text.isEmpty())
        return;
    m_searchKind = QStringLiteral("c");
    m_searchText = text;
    m_foundPos = search(0, false);
    if (m_foundPos == -1)
        showMessage(QStringLiteral("Text not found."));
}

void frmViewX::mnuFind_Click() {
    const QString text = askText(QStringLiteral("Enter Whole Word Text String"),
                                 QStringLiteral("PELUSA Find Whole Word Text String"));
    if (text.isEmpty())
        return;
    m_searchKind = QStringLiteral("w");
    m_searchText = text;
    m_foundPos = search(0, true);
    if (m_foundPos == -1)
        showMessage(QStringLiteral("Text not found."));
}

void frmViewX::mnuHigh_Click() {
    const QString text = askText(QStringLiteral("Enter Text String"),
                                 QStringLiteral("PELUSA Find Text String And HighLight Red"));
    if (text.isEmpty())
        return;
    m_searchKind = QStringLiteral("h");
    m_searchText = text;
    HighlightAll(QColor::fromRgb(255, 0, 0));
}

void frmViewX::HighlightAll(const QColor& colour) {
    // Marks are kept as ranges beside the text, so the selection is never moved and needs no
    // restoring.
    const auto pattern = unicodeToCp1252(m_searchText);
    if (!pattern)
        return;
    const ByteSearcher searcher(*pattern, false);
    const ByteDocument& doc = m_view->document();
    m_view->setMarkColour(colour);
    m_view->addMarks(findAll(searcher, doc.data(), doc.size(), kMaxMarks));
    m_view->checkCut();
}

void frmViewX::MnuNext_Click() {
    if (m_searchText.isEmpty())
        return;
    const qint64 start = m_foundPos + m_searchText.size();
    m_foundPos = search(start, m_searchKind == QLatin1String("w"));
    if (m_foundPos == -1)
        showMessage(QStringLiteral("End Of File"));
}

void frmViewX::mnuCopy_Click() {
    m_view->copy();
}

void frmViewX::mnuSelectAll_Click() {
    m_view->selectAll();
}

QFont fontDialogStart(const QFont& configured) {
    // The dialog lists the families installed; a configured name served by another family
    // (Arial by a metric-compatible one) is not among them, and the dialog would fall back to
    // its first family and a regular style.
    QFont start(QFontInfo(configured).family());
    start.setBold(configured.bold());
    start.setItalic(configured.italic());
    start.setPointSizeF(configured.pointSizeF());
    return start;
}

void frmViewX::munFonts_Click() {
    const QFont configured = settingsFont();
    const QFont start = fontDialogStart(configured);
    QFont chosen = start;
    if (!chooseFont(chosen))
        return;
    // The same family keeps the name it was configured by.
    QFont f(chosen.family() == start.family() ? configured.family() : chosen.family());
    f.setBold(chosen.bold());
    f.setItalic(chosen.italic());
    f.setPointSizeF(chosen.pointSizeF() > 0 ? chosen.pointSizeF() : 10.0);
    m_view->setFont(f);
    const QFont now = m_view->font();
    saveFontSetting(0, now.family());
    saveFontSetting(1, boolText(now.bold()));
    saveFontSetting(2, boolText(now.italic()));
    saveFontSetting(3, QString::number(now.pointSizeF()));
}

void frmViewX::printCommand(bool selectionPreset) {
    const ByteView& v = *m_view;
    const qint64 from = v.selLength() > 0 ? v.selStart() : 0;
    const qint64 to = v.selLength() > 0 ? v.selStart() + v.selLength() : v.document().size();
    auto print = [&](QPrinter& device) {
        return printBytes(device, v.document(), from, to, v.font(), &v.marks(), v.markColour());
    };
    QPrinter printer(QPrinter::HighResolution);
    if (!hasPrinter()) {
        // As the other windows do: the preview, which still prints to a PDF file.
        QPrintPreviewDialog dialog(&printer, this);
        dialog.setObjectName(QStringLiteral("printPreview"));
        bool failed = false;
        connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                [&](QPrinter* p) { failed = !print(*p) || failed; });
        showPreview(dialog);
        if (failed)
            showMessage(QStringLiteral("The printer could not be started."));
        return;
    }
    if (!choosePrinter(printer, selectionPreset))
        return;
    if (!print(printer))
        showMessage(QStringLiteral("The printer could not be started."));
}

void frmViewX::mnuPrint_Click() {
    printCommand(false);
}

void frmViewX::mnuSelected_Click() {
    printCommand(true);
}

void frmViewX::mnuExit_Click() {
    close();
}

void frmViewX::closeEvent(QCloseEvent* event) {
    SaveWindowPosition(this, kApp, QLatin1String(kViewerTag));
    event->accept();
}

QString frmViewX::askText(const QString& prompt, const QString& title) {
    return QInputDialog::getText(this, title, prompt);
}

void frmViewX::showMessage(const QString& text) {
    QMessageBox::information(this, kTitle, text);
}

bool frmViewX::chooseFont(QFont& font) {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font, this);
    if (ok)
        font = chosen;
    return ok;
}

QString frmViewX::chooseFile() {
    return QFileDialog::getOpenFileName(this, QStringLiteral("PELUSA Open File"),
                                        m_path.isEmpty() ? QString() : QFileInfo(m_path).path());
}

bool frmViewX::hasPrinter() const {
    return !QPrinterInfo::defaultPrinter().isNull();
}

void frmViewX::showPreview(QPrintPreviewDialog& dialog) {
    dialog.exec();
}

bool frmViewX::choosePrinter(QPrinter& printer, bool selectionPreset) {
    QPrintDialog dialog(&printer, this);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, selectionPreset);
    if (selectionPreset)
        printer.setPrintRange(QPrinter::Selection);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace orvanex::viewer
