// The options menu of the search window: selecting a found file and the operations that hand it
// to other programs (file manager, viewer, editor, the desktop's applications).

#include "search/file_launch.h"
#include "search/file_operations.h"
#include "search/frm_image.h"
#include "search/frm_search.h"
#include "search/picture_file.h"

#include <QApplication>
#include <QFile>
#include <QFocusEvent>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTableView>

namespace orvanex::search {

namespace {

// The extensions the picture window is offered for: the classic picture types and every format
// the image readers here can read (PNG, JPEG, GIF, ICO, ...).
const QStringList& imageExtensions() {
    static const QStringList extensions = [] {
        QStringList list = {QStringLiteral("ICO"), QStringLiteral("BMP"), QStringLiteral("WMF"),
                            QStringLiteral("JPG"), QStringLiteral("GIF")};
        for (const QByteArray& format : QImageReader::supportedImageFormats())
            if (!list.contains(QString::fromLatin1(format).toUpper()))
                list << QString::fromLatin1(format).toUpper();
        return list;
    }();
    return extensions;
}
const QStringList kPlayExtensions = {QStringLiteral("WAV"), QStringLiteral("AVI"),
                                     QStringLiteral("MPG"), QStringLiteral("MID")};

} // namespace

void frmSearch::buildMenu() {
    mnuOptions = new QMenu(QStringLiteral("Options"), this);
    mnuOptions->setObjectName(QStringLiteral("mnuOptions"));
    auto add = [this](const char* name, const QString& caption, void (frmSearch::*handler)()) {
        QAction* a = mnuOptions->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        if (handler)
            connect(a, &QAction::triggered, this, handler);
        return a;
    };
    add("cmdExplorer", QStringLiteral("Exp&lorer"), &frmSearch::cmdExplorer_Click);
    add("cmdView", QStringLiteral("&View"), &frmSearch::cmdView_Click);
    add("cmdEdit", QStringLiteral("&Notepad"), &frmSearch::cmdEdit_Click);
    cmdOpen = add("cmdOpen", QStringLiteral("&Open"), &frmSearch::cmdOpen_Click);
    add("cmdOpenWith", QStringLiteral("Opens &With?"), &frmSearch::cmdOpenWith_Click);
    add("cmdProperty", QStringLiteral("&Properties"), &frmSearch::cmdProperty_Click);
    add("cmdSummary", QStringLiteral("&File Summary"), &frmSearch::cmdSummary_Click);
    add("cmdMove", QStringLiteral("&Move"), &frmSearch::cmdMove_Click);
    add("cmdMoveX", QStringLiteral("&Rename"), &frmSearch::cmdMove_Click);
    add("cmdCopy", QStringLiteral("&Copy"), &frmSearch::cmdCopy_Click);
    add("cmdFindText", QStringLiteral("Em&bedded Text"), &frmSearch::cmdFindText_Click);
    cmdImage = add("cmdImage", QStringLiteral("&Image"), &frmSearch::cmdImage_Click);
    cmdPlay = add("cmdPlay", QStringLiteral("Pla&y"), &frmSearch::cmdPlay_Click);
    add("cmdDelete", QStringLiteral("&Delete"), &frmSearch::cmdDelete_Click);
}

bool frmSearch::eventFilter(QObject* watched, QEvent* event) {
    // The menu opens on the press, at the row: a menu opened on the release was lost to the
    // release itself now and then, and so was a click that only gave the window back its focus.
    if (watched == MSFlexGrid1->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QModelIndex index = MSFlexGrid1->indexAt(mouse->position().toPoint());
        if (mouse->button() == Qt::LeftButton && index.isValid() &&
            !m_model->path(index.row()).isEmpty() && !Searching && !panelOpen()) {
            MSFlexGrid1->setFocus(Qt::MouseFocusReason);
            MSFlexGrid1->setCurrentIndex(index);
            const QPoint at = mouse->globalPosition().toPoint();
            MSFlexGrid1_Select(index, &at);
            return true;
        }
    }
    if (watched == MSFlexGrid1 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            MSFlexGrid1_Select(MSFlexGrid1->currentIndex());
            return true;
        }
    }
    if (watched == DirList3 && event->type() == QEvent::FocusOut) {
        // Only a move to another control of this window; a menu or another window does not choose.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            DirList3_LostFocus();
    }
    return QDialog::eventFilter(watched, event);
}

QString frmSearch::selectedPath() const {
    return m_model->path(m_selectedRow);
}

void frmSearch::MSFlexGrid1_Select(const QModelIndex& index, const QPoint* pos) {
    // While a sort or a text scan holds the rows' places, no operation may start.
    if (Searching || panelOpen() || m_sortThread || m_textScan || !index.isValid())
        return;
    // The row's path, whichever of its cells was clicked.
    const QString text = m_model->path(index.row());
    if (text.isEmpty())
        return;
    m_selectedRow = index.row();
    txtAction->setText(text);
    lblScan->setText(text);
    // GetExtension: which program opens it, and the extension of the file's own name.
    const ResultRow& row = m_model->row(m_selectedRow);
    const QString native = QFile::decodeName(row.root >= 0 ? row.native : nativeOf(text));
    SelectedFile = FileNameExtension(text);
    cmdImage->setEnabled(imageExtensions().contains(SelectedFile));
    cmdPlay->setEnabled(kPlayExtensions.contains(SelectedFile));
    cmdOpen->setEnabled(OpenCommand(native).named());
    if (!popUpMenus)
        return;
    const QPoint at =
        pos ? *pos
            : MSFlexGrid1->viewport()->mapToGlobal(MSFlexGrid1->visualRect(index).bottomLeft());
    mnuOptions->popup(at);
}

QString frmSearch::selectedNative() const {
    const ResultRow& row = m_model->row(m_selectedRow);
    return QFile::decodeName(row.root >= 0 ? row.native : nativeOf(selectedPath()));
}

void frmSearch::cmdExplorer_Click() {
    const QString path = selectedPath();
    const QString native = selectedNative();
    lblScan->setText(path);
    if (AskFileManager(QStringLiteral("ShowItems"), native))
        return;
    const LaunchCommand folder = FolderCommand(native);
    if (!folder.valid()) {
        lblScan->setText(path + QStringLiteral(" ** Error ** ") +
                         (folder.missing.isEmpty() ? NoFolderProgramText() : folder.missing));
        return;
    }
    QString reason;
    if (!StartLaunch(folder, &reason))
        lblScan->setText(LaunchErrorText(folder, reason));
}

void frmSearch::cmdView_Click() {
    const QString path = selectedPath();
    const QString native = selectedNative();
    const QString refused = ViewRefusal(native);
    if (!refused.isEmpty()) {
        lblScan->setText(CannotViewText(path, refused));
        return;
    }
    const FileFacts facts = fileFacts(QFile::encodeName(native));
    if (facts.size > 100000) {
        const QString text = path + QStringLiteral("\nIs over 100,000 bytes in length\n") +
                             QStringLiteral("Do you want to continue with View?");
        if (ask(QStringLiteral("ORVANEX Question?"), text) != QMessageBox::Yes)
            return;
    }
    const LaunchCommand viewer = ViewCommand(native, m_appFolder);
    lblScan->setText(viewer.program + u' ' + path);
    QString reason;
    if (!StartLaunch(viewer, &reason)) {
        LaunchCommand named = viewer;
        named.program += u' ' + path;
        lblScan->setText(LaunchErrorText(named, reason));
    }
}

void frmSearch::cmdEdit_Click() {
    const QString path = selectedPath();
    const LaunchCommand editor = EditCommand(selectedNative());
    // No text editor on this desktop (or only one for a terminal, and no terminal): the viewer.
    if (!editor.valid()) {
        cmdView_Click();
        return;
    }
    lblScan->setText(QStringLiteral("Edit for ") + path);
    QString reason;
    if (!StartLaunch(editor, &reason))
        lblScan->setText(LaunchErrorText(editor, reason));
}

void frmSearch::cmdOpenWith_Click() {
    const LaunchCommand open = OpenCommand(selectedNative());
    lblScan->setText(open.named() ? open.program : NoOpenWithText());
}

void frmSearch::cmdOpen_Click() {
    const LaunchCommand open = OpenCommand(selectedNative());
    if (!open.valid()) {
        lblScan->setText(open.missing.isEmpty() ? NoOpenWithText() : open.missing);
        return;
    }
    lblScan->setText(open.program);
    QString reason;
    if (!StartLaunch(open, &reason))
        lblScan->setText(LaunchErrorText(open, reason));
}

void frmSearch::cmdProperty_Click() {
    const QString path = selectedPath();
    const QString native = QFile::decodeName(nativeOf(path));
    lblScan->setText(QStringLiteral("File properties for ") + path);
    if (AskFileManager(QStringLiteral("ShowItemProperties"), native))
        return;
    // No file manager answers: the summary tells what the program itself knows.
    cmdSummary_Click();
}

void frmSearch::cmdImage_Click() {
    const QString path = selectedPath();
    frmImage image(this);
    QString reason;
    if (!image.Display(QFile::decodeName(nativeOf(path)), path, &reason)) {
        lblScan->setText(CannotShowText(path, reason));
        return;
    }
    if (scriptedAnswer == 0)
        image.exec();
}

void frmSearch::cmdPlay_Click() {
    // The desktop's default player for the file's type.
    cmdOpen_Click();
}

} // namespace orvanex::search
